// Command-line parsing of the Linux program. The own options are described
// once, in a table that parsing and -help both walk; their values are checked
// against what the settings record and the Windows dialog can hold.
#include "shell/x11/HackOptions.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "shell/SaverSettings.h"

namespace {

enum class ValueKind { SetsOne, SetsZero, Text, Digits };

struct OwnOption {
    const char* name;
    ValueKind kind;
    const char* registryName;
    const char* help;
};

// The texts hold what the record's 256-byte buffers hold with their terminator.
constexpr std::size_t longestText = SaverSettings::TextCapacity - 1;

const OwnOption ownOptions[] = {
    {"-attractive", ValueKind::SetsOne, "Attractive", "particles seek the emitter's origin"},
    {"-no-attractive", ValueKind::SetsZero, "Attractive", "particles fly free (default)"},
    {"-floor", ValueKind::SetsOne, "Floor", "\"Draw ground\", kept as on Windows: no ground is drawn"},
    {"-no-floor", ValueKind::SetsZero, "Floor", "(default)"},
    {"-moving", ValueKind::SetsOne, "Moving", "kept as on Windows, changes nothing shown (default)"},
    {"-no-moving", ValueKind::SetsZero, "Moving", "kept as on Windows, changes nothing shown"},
    {"-music", ValueKind::SetsOne, "Music", "kept as on Windows; no music is played"},
    {"-no-music", ValueKind::SetsZero, "Music", "(default)"},
    {"-music-file", ValueKind::Text, "MusicFileName", "PATH  kept as on Windows, at most 255 characters"},
    {"-number", ValueKind::Digits, "tavinum", "DIGITS  kept as on Windows: digits only, at most 255 (default 100)"},
};

const OwnOption* findOwnOption(const std::string& name) {
    for (const OwnOption& option : ownOptions) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

bool allDigits(const std::string& text) {
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Empty when value fits the option, else what is wrong with it.
std::string checkValue(const OwnOption& option, const std::string& value) {
    if (value.size() > longestText) {
        return std::string(option.name) + " takes at most 255 characters, got " + std::to_string(value.size());
    }
    if (option.kind == ValueKind::Digits && !allDigits(value)) {
        return std::string(option.name) + " takes digits only (0-9), got '" + quotedValue(value) + "'";
    }
    return {};
}

}  // namespace

bool parseWindowId(const char* text, unsigned long& id) {
    if (text == nullptr) return false;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    // strtoul would take a sign or blanks first.
    const auto first = static_cast<unsigned char>(*digits);
    if (!(hex ? std::isxdigit(first) : std::isdigit(first))) return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(digits, &end, hex ? 16 : 10);
    // Resource ids have 29 bits; 0 is None.
    if (errno != 0 || *end != '\0' || value == 0 || value > 0x1FFFFFFFul) return false;
    id = value;
    return true;
}

std::string quotedValue(const std::string& value) {
    constexpr std::size_t longest = 64;
    std::string shown = value.substr(0, longest);
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    if (value.size() > longest) shown += "... (" + std::to_string(value.size()) + " characters)";
    return shown;
}

HackParse parseHackOptions(int argc, const char* const* argv, CommandLineStore& store) {
    HackParse result;
    HackOptions& options = result.options;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        // The GNU spelling of every option is accepted too.
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) word.erase(0, 1);
        const bool hasValue = i + 1 < argc;
        const OwnOption* own = findOwnOption(word);

        if (word == "-help" || word == "-h") {
            options.help = true;
        } else if (word == "-root") {
            options.target = HackTarget::Root;
        } else if (word == "-window") {
            options.target = HackTarget::OwnWindow;
        } else if (word == "-window-id" || word == "-display") {
            if (!hasValue) {
                result.error = word + " needs a value";
                return result;
            }
            const char* value = argv[++i];
            if (word == "-display") {
                options.display = value;
            } else if (parseWindowId(value, options.windowId)) {
                options.target = HackTarget::WindowId;
            } else {
                result.error = "-window-id needs a window id such as 0x1a00007, got '" + quotedValue(value) + "'";
                return result;
            }
        } else if (own != nullptr && (own->kind == ValueKind::SetsOne || own->kind == ValueKind::SetsZero)) {
            store.setNumber(own->registryName, own->kind == ValueKind::SetsOne ? 1 : 0);
        } else if (own != nullptr) {
            if (!hasValue) {
                result.error = word + " needs a value";
                return result;
            }
            const std::string value = argv[++i];
            result.error = checkValue(*own, value);
            if (!result.error.empty()) return result;
            store.setText(own->registryName, value);
        } else {
            result.error = "unknown option '" + quotedValue(argv[i]) + "' ('lumra -help' lists the options)";
            return result;
        }
    }
    result.ok = true;
    return result;
}

void printHackHelp(std::FILE* out) {
    std::fputs("Usage: lumra [-root | -window-id ID | -window] [-display NAME] [options]\n"
               "LumraSaver: glowing particles, one effect on every monitor.\n\n"
               "  -root           full screen: under Wayland on every output; under X into the\n"
               "                  window XScreenSaver names in $XSCREENSAVER_WINDOW, or the root\n"
               "  -window-id ID   draw into X window ID (decimal or 0x hex): a settings preview\n"
               "  -window         open a window of its own, closed by a key, a click or closing\n"
               "                  it (the default)\n"
               "  -display NAME   the X display to use instead of $DISPLAY\n"
               "  -help           print this and exit\n\n"
               "It draws on Wayland when $WAYLAND_DISPLAY is set and no X window or display is\n"
               "asked for (-window-id, -display, $XSCREENSAVER_WINDOW); otherwise on X.\n\n"
               "Options:\n",
               out);
    for (const OwnOption& option : ownOptions) {
        std::fprintf(out, "  %-15s %s\n", option.name, option.help);
    }
}
