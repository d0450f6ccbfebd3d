#pragma once

// Numbers of the control panel's dialogs and controls. Controls carry theirs as object name.
namespace ManagerId {

// Dialogs and pages.
inline constexpr int kControlPanelDlg = 102;
inline constexpr int kMainPage = 135;
inline constexpr int kTimeControlPage = 136;
inline constexpr int kPasswordPage = 141;
inline constexpr int kRecommendPage = 144;
inline constexpr int kHistoryPage = 151;
inline constexpr int kSetPasswordDlg = 152;
inline constexpr int kLoginDlg = 153;
inline constexpr int kAboutPage = 164;

// The first-password and login dialogs.
inline constexpr int kGroupBox = 1006;
inline constexpr int kPasswordEdit = 1038;
inline constexpr int kPasswordAgainEdit = 1039;
inline constexpr int kSetPasswordOk = 1037;
inline constexpr int kLoginButton = 1042;
inline constexpr int kCancelButton = 1029;

// The control panel's page buttons and the frame that marks the page area.
inline constexpr int kGeneralButton = 1002;
inline constexpr int kPasswordButton = 1003;
inline constexpr int kTimeButton = 1004;
inline constexpr int kHistoryButton = 1005;
inline constexpr int kPageArea = 1006;
inline constexpr int kRecommendButton = 1007;
inline constexpr int kAboutButton = 1008;

} // namespace ManagerId
