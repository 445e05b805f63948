// kelmorctl's command line: options as terminal tools spell them (--name VALUE,
// --name=VALUE, -n VALUE, -- before arguments that begin with a dash), with the help that
// lists them. Plain C++, so that the same source serves every platform.
#pragma once
#include <cstdint>
#include <string>

struct CommandOption {
    const char* longName;   // "speed"
    char shortName;         // 's', or 0
    const char* valueName;  // "1-4" as the help shows it; nullptr for an option without a value
    const char* help;
    // Takes the option as given (optionName is "--speed" or "-s") with its value (nullptr
    // for one without); false with the reason in error.
    bool (*take)(const char* optionName, const char* value, std::string* error);
};

// What the help of one command line shows.
struct OptionHelp {
    const char* usage;        // "record [OPTION...] FILE", after the program's name
    const char* summary;      // after the usage line; may be nullptr
    const char* description;  // at the end; may be nullptr
};

enum OptionOutcome { OPTIONS_PARSED, OPTIONS_HELP, OPTIONS_FAILED };

// Takes the options (ended by an entry without longName) out of argv[1...], leaving
// argv[0] and the other arguments in order; *argc becomes their number. With
// stopAtArgument the first argument ends the options (everything from there belongs to
// it); otherwise options may stand after arguments too. OPTIONS_HELP for --help, -h or -?;
// OPTIONS_FAILED with the reason in error.
OptionOutcome ParseOptions(const CommandOption* options, bool stopAtArgument, int* argc, char** argv,
                           std::string* error);
// The help text of a command line with these options.
std::string OptionsHelpText(const char* program, const OptionHelp& help, const CommandOption* options);

// Reads an option's value as a whole decimal number within minimum...maximum; false,
// with the reason in error, for anything else.
bool ParseNumberOption(const char* optionName, const char* value, int64_t minimum, int64_t maximum, int64_t* out,
                       std::string* error);
