// kelmorctl's options taken out of its command line, and the help that lists them.
#include "programs/kelmorctl/options.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const CommandOption kHelpOption = {"help", 'h', nullptr, "Show help options", nullptr};

bool IsHelp(const char* argument) {
#ifdef _WIN32
    // What a person on Windows types first; no file is named so there.
    if (strcmp(argument, "/?") == 0) return true;
#endif
    return strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0 || strcmp(argument, "-?") == 0;
}

// The option that argument names: "--name", "--name=value" (*inlineValue then points at
// the value) or "-n". nullptr when none has that name.
const CommandOption* FindOption(const CommandOption* options, const char* argument, const char** inlineValue) {
    *inlineValue = nullptr;
    if (argument[1] == '-') {
        const char* name = argument + 2;
        const char* equals = strchr(name, '=');
        const size_t length = equals != nullptr ? static_cast<size_t>(equals - name) : strlen(name);
        for (const CommandOption* option = options; option->longName != nullptr; ++option) {
            if (strlen(option->longName) == length && strncmp(option->longName, name, length) == 0) {
                if (equals != nullptr) *inlineValue = equals + 1;
                return option;
            }
        }
        return nullptr;
    }
    if (argument[2] != '\0') return nullptr;
    for (const CommandOption* option = options; option->longName != nullptr; ++option) {
        if (option->shortName != 0 && option->shortName == argument[1]) return option;
    }
    return nullptr;
}

// Takes the option at argv[*index], and its value from the next argument when it needs
// one; *index then points at the last argument used.
bool TakeOption(const CommandOption* options, int argc, char** argv, int* index, std::string* error) {
    const char* argument = argv[*index];
    const char* inlineValue = nullptr;
    const CommandOption* option = FindOption(options, argument, &inlineValue);
    // The name as given, without the value.
    const std::string name(argument, inlineValue != nullptr ? static_cast<size_t>(inlineValue - 1 - argument)
                                                            : strlen(argument));
    if (option == nullptr) {
        *error = "Unknown option " + name;
        return false;
    }
    const char* value = inlineValue;
    if (option->valueName == nullptr && value != nullptr) {
        *error = "Option " + name + " takes no value";
        return false;
    }
    if (option->valueName != nullptr && value == nullptr) {
        if (*index + 1 >= argc) {
            *error = "Missing argument for " + name;
            return false;
        }
        value = argv[++*index];
    }
    return option->take(name.c_str(), value, error);
}

void AppendOptionLines(std::string* text, const CommandOption* options, size_t width) {
    for (const CommandOption* option = options; option->longName != nullptr; ++option) {
        std::string left = "  ";
        if (option->shortName != 0) left += std::string("-") + option->shortName + ", ";
        left += std::string("--") + option->longName;
        if (option->valueName != nullptr) left += std::string("=") + option->valueName;
        left.resize(width < left.size() + 2 ? left.size() + 2 : width, ' ');
        *text += left + option->help + "\n";
    }
}

size_t OptionColumn(const CommandOption* options) {
    size_t width = 0;
    for (const CommandOption* option = options; option->longName != nullptr; ++option) {
        const size_t length = 2 + (option->shortName != 0 ? 4 : 0) + 2 + strlen(option->longName) +
                              (option->valueName != nullptr ? 1 + strlen(option->valueName) : 0);
        if (length > width) width = length;
    }
    return width + 2;
}

}  // namespace

OptionOutcome ParseOptions(const CommandOption* options, bool stopAtArgument, int* argc, char** argv,
                           std::string* error) {
    int kept = 1;
    int i = 1;
    for (; i < *argc; ++i) {
        char* argument = argv[i];
        if (strcmp(argument, "--") == 0) {
            ++i;
            break;
        }
        if (IsHelp(argument)) return OPTIONS_HELP;
        // A lone "-" is an argument: the name scripts give standard input or output.
        if (argument[0] != '-' || argument[1] == '\0') {
            argv[kept++] = argument;
            if (stopAtArgument) {
                ++i;
                break;
            }
            continue;
        }
        if (!TakeOption(options, *argc, argv, &i, error)) return OPTIONS_FAILED;
    }
    for (; i < *argc; ++i) argv[kept++] = argv[i];
    *argc = kept;
    argv[kept] = nullptr;
    return OPTIONS_PARSED;
}

std::string OptionsHelpText(const char* program, const OptionHelp& help, const CommandOption* options) {
    std::string text = std::string("Usage:\n  ") + program + " " + help.usage + "\n\n";
    if (help.summary != nullptr) text += std::string(help.summary) + "\n\n";
    const CommandOption helpOptions[] = {kHelpOption, {}};
    size_t width = OptionColumn(helpOptions);
    if (options[0].longName != nullptr && OptionColumn(options) > width) width = OptionColumn(options);
    text += "Help Options:\n";
    AppendOptionLines(&text, helpOptions, width);
    if (options[0].longName != nullptr) {
        text += "\nApplication Options:\n";
        AppendOptionLines(&text, options, width);
    }
    text += "\n";
    if (help.description != nullptr) text += std::string(help.description) + "\n";
    return text;
}

bool ParseNumberOption(const char* optionName, const char* value, int64_t minimum, int64_t maximum, int64_t* out,
                       std::string* error) {
    char* end = nullptr;
    errno = 0;
    const long long number = strtoll(value, &end, 10);
    if (value[0] == '\0' || *end != '\0' || errno != 0 || number < minimum || number > maximum) {
        char range[64];
        snprintf(range, sizeof range, " takes a number from %" PRId64 " to %" PRId64 ", not '", minimum, maximum);
        *error = std::string(optionName) + range + value + "'";
        return false;
    }
    *out = number;
    return true;
}
