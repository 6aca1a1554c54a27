#pragma once

#include <exception>

// Raised while a response is decoded when the frame cannot be read as its
// layout says: a position past the end of the frame, or a value that the
// receiving control refuses. The dispatcher abandons the rest of the frame and
// shows "7"; values written before the fault stay where they are.
class FrameError : public std::exception {
public:
    const char *what() const noexcept override { return "response frame cannot be decoded"; }
};
