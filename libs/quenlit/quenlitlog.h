#pragma once

#include <QLoggingCategory>

namespace Quenlit {

// Failures the skinned controls absorb and draw on without: a bitmap the library does not
// have, a picture file that cannot be read.
Q_DECLARE_LOGGING_CATEGORY(lcSkin)
// The GIF decoder and writer: images skipped, damaged data, files not written.
Q_DECLARE_LOGGING_CATEGORY(lcSkinGif)

} // namespace Quenlit
