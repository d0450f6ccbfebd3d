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

// A page's question that wants a text back: `value` comes in as the suggested answer
// and holds the answer given when the result is Ok; Cancel leaves it alone. Goes
// through a handler of its own, replaceable the same way.
LORVANECOMMON_EXPORT MsgResult showPrompt(QWidget* parent, const QString& text, const QString& caption,
                                          QString* value);

using PromptHandler = std::function<MsgResult(QWidget* parent, const QString& text, const QString& caption,
                                              QString* value)>;
LORVANECOMMON_EXPORT PromptHandler setPromptHandler(PromptHandler handler);
