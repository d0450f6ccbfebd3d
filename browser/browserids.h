#pragma once

// Commands of the browser's bars and keys, as the frame dispatches them. The bars
// report them with their command signal; the controls themselves are held by pointer.
namespace BrowserIds {

constexpr int kCmdClose = 1000;
constexpr int kCmdHome = 1001;
constexpr int kCmdAddFavor = 1002;
constexpr int kCmdBack = 1003;
constexpr int kCmdForward = 1004;
constexpr int kCmdNewBlankTab = 1005;
constexpr int kCmdToggleWorkspace = 1006;
constexpr int kCmdRefresh = 1008;
constexpr int kCmdStop = 1009;
constexpr int kCmdPrint = 1010;
constexpr int kCmdSkin = 1011;
// The favorites tree's menu.
constexpr int kCmdFavorDelete = 32771;
constexpr int kCmdFavorDeleteClass = 32772;
constexpr int kCmdFavorOpen = 32773;
// The Delete key's command does nothing; the key itself is left to the pages and the
// address box, where it deletes text.
constexpr int kCmdDeleteKey = 32775;

// The side bar and the add-favorite dialog; each control's number is also its object name.
constexpr int kBarWorkspace = 123;
constexpr int kCtlWorkspaceTabs = 125;
constexpr int kCtlFavorTree = 1012;
constexpr int kCtlSiteTree = 1013;
constexpr int kCtlFavorCategory = 1007;
constexpr int kCtlFavorName = 1009;

} // namespace BrowserIds
