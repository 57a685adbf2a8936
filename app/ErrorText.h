#pragma once

#include <string>

namespace dorvint {

// The text the error report shows for a fault's message: a full stop is
// appended when the message is not empty and its last character (both bytes
// of a code page 932 double-byte character) compares greater than "." byte by
// byte; a message ending in "." or another low punctuation mark is kept.
std::string WithFullStop(const std::string& message);

}  // namespace dorvint
