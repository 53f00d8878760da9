// The one error type of the program: a pointer to a constant message text.
// Start-up failures are thrown by value and reported once, by the entry point.
#pragma once

class Exception {
public:
    // A null text reads "Unknown error", so a report always has something to show.
    explicit Exception(const char* text = nullptr);

    const char* message() const { return text; }

private:
    const char* text;
};
