#pragma once

#include <QLoggingCategory>

namespace Pellora {

// What the skin library gets over without telling its caller: a skin definition or a
// picture that cannot be read, so the control is drawn without it.
Q_DECLARE_LOGGING_CATEGORY(lcSkin)

} // namespace Pellora
