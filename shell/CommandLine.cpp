// The screen-saver switches: s (run), p or l (preview in a host window),
// c (configure) and a (change password), each with an optional handle.
// Only the first letter of a switch word counts, which is how Windows and
// older callers have always passed them ("/preview", "/start", "-P1234").
#include "shell/CommandLine.h"

#include <cstdlib>

#include "shell/RunMode.h"

namespace {

// Only the space character separates words; a tab does not.
bool isBlank(char c) { return c == ' '; }

const char* skipBlanks(const char* p) {
    while (isBlank(*p)) {
        ++p;
    }
    return p;
}

const char* skipBlanksAndColons(const char* p) {
    while (isBlank(*p) || *p == ':') {
        ++p;
    }
    return p;
}

// atoi's own rules (leading white space, a sign, digits up to the first other
// character, 0 without digits), with overflow wrapping instead of undefined.
std::int32_t readNumber(const char* p) {
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    std::uint32_t value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');
        ++p;
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<std::int32_t>(value);
}

const char* skipProgramName(const char* p) {
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') {
            ++p;
        }
    } else {
        while (*p != '\0' && !isBlank(*p)) {
            ++p;
        }
    }
    // The closing quote or the separating blank.
    if (*p != '\0') {
        ++p;
    }
    return p;
}

}  // namespace

CommandLineResult parseCommandLine(const char* line) {
    CommandLineResult result;
    if (line == nullptr) {
        line = "";
    }
    const char* p = skipBlanks(skipProgramName(line));

    if (*p == '\0') {
        result.proceed = true;
        result.mode = Mode::Configure;
        return result;
    }
    if (*p == '-' || *p == '/') {
        ++p;
    }

    switch (*p) {
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        result.mode = Mode::Preview;
        result.handle = readNumber(skipBlanksAndColons(p + 1));
        break;
    case 's':
    case 'S':
        result.mode = Mode::Saver;
        break;
    case 'c':
    case 'C':
        result.mode = Mode::Configure;
        p = skipBlanksAndColons(p + 1);
        if (*p == '\0') {
            result.useForegroundWindow = true;
        } else {
            result.handle = readNumber(p);
        }
        break;
    case 'a':
    case 'A':
        result.mode = Mode::ChangePassword;
        result.handle = readNumber(skipBlanksAndColons(p + 1));
        break;
    default:
        return result;
    }
    result.proceed = true;
    return result;
}
