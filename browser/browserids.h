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
// The Delete key's command does nothing; the key itself is left to the pages and the
// address box, where it deletes text.
constexpr int kCmdDeleteKey = 32775;

} // namespace BrowserIds
