#include "quenlitlog.h"

namespace Quenlit {

Q_LOGGING_CATEGORY(lcSkin, "lorvane.skin", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSkinGif, "lorvane.skin.gif", QtWarningMsg)

} // namespace Quenlit
