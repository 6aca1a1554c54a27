#pragma once

#include "requests/ResultMessage.h"

#include <QString>

// The texts of the messages that end an exchange, in the current language.
namespace ResultMessages {
// "" for ResultMessage::none.
QString text(ResultMessage message);
} // namespace ResultMessages
