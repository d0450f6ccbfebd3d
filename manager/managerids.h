#pragma once

// Numbers of the control panel's dialogs and controls, kept for reference: the pages
// carry their dialog's number and the page-button table its buttons' numbers. Controls
// are held by pointer, never looked up by number, so a number may stand for different
// controls in different dialogs.
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

// Controls the settings pages share.
inline constexpr int kPageRuleTop = 1006;
inline constexpr int kPageHeading = 1007;
inline constexpr int kPageSave = 1011;
inline constexpr int kPageRuleBottom = 1012;
inline constexpr int kPageDefaults = 1013;

// The general page.
inline constexpr int kOnlyChildSitesCheck = 1008;
inline constexpr int kExitPasswordCheck = 1009;
inline constexpr int kLoginFirstCheck = 1010;
inline constexpr int kOwnHomePageCheck = 1044;
inline constexpr int kHomePageEdit = 1045;
inline constexpr int kHomePageFrame = 1046;

// The time limit page.
inline constexpr int kLimitRadio = 1014;
inline constexpr int kNoLimitRadio = 1016;
inline constexpr int kLimitMinutesEdit = 1019;

// The password page; its "确认修改" is kPageSave.
inline constexpr int kCurrentPasswordEdit = 1021;
inline constexpr int kNewPasswordEdit = 1022;
inline constexpr int kNewPasswordAgainEdit = 1023;

// The history page.
inline constexpr int kHistoryList = 1043;
inline constexpr int kHistoryPrevPage = 1047;
inline constexpr int kHistoryNextPage = 1035;
inline constexpr int kHistoryPageEdit = 1036;
inline constexpr int kHistoryGoToPage = 1050;
inline constexpr int kHistoryPageCount = 1038;
inline constexpr int kHistoryClear = 1051;

// The recommended-sites page.
inline constexpr int kSitesList = 1022;
inline constexpr int kSitesAdd = 1023;
inline constexpr int kSitesDelete = 1024;
inline constexpr int kSitesEdit = 1025;
inline constexpr int kSitesActionGroup = 1007;
inline constexpr int kSitesResultGroup = 1012;
inline constexpr int kSitesPrevPage = 1034;
inline constexpr int kSitesNextPage = 1035;
inline constexpr int kSitesPageEdit = 1036;
inline constexpr int kSitesGoToPage = 1037;
inline constexpr int kSitesPageCount = 1038;

// The add and edit site dialogs; their "取消" is kCancelButton.
inline constexpr int kAddSiteDlg = 146;
inline constexpr int kEditSiteDlg = 149;
inline constexpr int kSiteInfoGroup = 1007;
inline constexpr int kSitePreviewGroup = 1006;
inline constexpr int kAddSiteOk = 1023;
inline constexpr int kSitePreview = 1024;
inline constexpr int kSiteSnapshotButton = 1025;
inline constexpr int kSiteUrlEdit = 1026;
inline constexpr int kSiteNameEdit = 1027;
inline constexpr int kSiteBrowser = 1030;
inline constexpr int kSiteWaitAnimation = 1031;
inline constexpr int kSiteWaitText = 1033;
inline constexpr int kEditSiteOk = 1037;

} // namespace ManagerId
