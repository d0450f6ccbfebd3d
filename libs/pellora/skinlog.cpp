#include "skinlog.h"

namespace Pellora {

Q_LOGGING_CATEGORY(lcSkin, "lorvane.skin", QtWarningMsg)

} // namespace Pellora
