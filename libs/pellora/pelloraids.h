#pragma once

// Numbers the browser's owners and the skinned controls agree on. The controls report
// through Qt signals; the numbers stay for reference.
namespace Pellora {

// Owner notifications (the user-message base 1024 plus an offset).
constexpr int kMsgApplySkin = 1125;      // a skin definition file is to be applied
constexpr int kMsgAddressEntered = 1129; // CCoolComoBox::addressEntered()
constexpr int kMsgTabActivated = 1135;   // CCoolTabBar::tabActivated(index, item)
constexpr int kMsgTabScrolled = 1136;    // CCoolTabBar::tabScrollPressed()
constexpr int kMsgTabCloseClicked = 1138; // CCoolTabBar::tabCloseClicked(index, item)

} // namespace Pellora
