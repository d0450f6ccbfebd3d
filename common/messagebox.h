#pragma once

#include "lorvanecommon_export.h"

#include <QString>

#include <functional>

class QWidget;

// Every modal message box of both programs goes through showMessage, so tests can
// replace the handler to record what would be shown and to give the answer.
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgResult { Ok, Cancel, Yes, No };

LORVANECOMMON_EXPORT MsgResult showMessage(QWidget* parent, const QString& text, const QString& caption,
                                           MsgIcon icon = MsgIcon::Information,
                                           MsgButtons buttons = MsgButtons::Ok);

using MessageHandler =
    std::function<MsgResult(QWidget* parent, const QString& text, const QString& caption, MsgIcon, MsgButtons)>;
// Installs a handler in place of the real modal box and returns the one it replaced;
// an empty handler restores the real box.
LORVANECOMMON_EXPORT MessageHandler setMessageHandler(MessageHandler handler);
