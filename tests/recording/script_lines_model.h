// The script commands a text recording holds, read line by line the way the format
// describes its lines, apart from the loader: the unit tests and the text loader fuzzer
// hold the loader to it. A line is whole here however long it is, as it is to whoever
// wrote it; the loader refuses a long line that is not a comment.
#pragma once
#include <cctype>
#include <string>
#include <vector>

namespace script_model {

enum { LINE_BUFFER = 1023 };

struct Command {
    int keyword;  // ScriptKeyword code, 0 for an unknown word
    std::string argument;
    bool operator==(const Command& o) const { return keyword == o.keyword && argument == o.argument; }
};

struct Script {
    std::vector<Command> commands;
    bool longLine = false;  // a line that is no comment is longer than the line buffer
};

inline std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

// Every pattern removed, ignoring case, the search going on where each one was.
inline void RemoveAll(std::string* text, const std::string& pattern) {
    for (size_t at = Lower(*text).find(pattern); at != std::string::npos; at = Lower(*text).find(pattern, at)) {
        text->erase(at, pattern.size());
    }
}

inline int KeywordCode(const std::string& word) {
    const std::string lower = Lower(word);
    const struct { const char* name; int code; } kOrder[] = {{"start", 1}, {"goto", 2}, {"wait", 4}, {"type", 3},
                                                            {"click", 5}};
    for (const auto& k : kOrder) {
        if (lower.find(k.name) != std::string::npos) return k.code;
    }
    return 0;
}

inline Script ReadScript(std::string file) {
    Script script;
    if (file.compare(0, 3, "\xEF\xBB\xBF") == 0) file.erase(0, 3);
    bool block = false;
    size_t begin = 0;
    while (begin <= file.size()) {
        size_t end = file.find_first_of(std::string("\r\n\0", 3), begin);
        if (end == std::string::npos) end = file.size();
        const std::string line = file.substr(begin, end - begin);
        begin = end + 1;
        const size_t first = line.find_first_not_of(" \t");
        const std::string rest = first == std::string::npos ? "" : line.substr(first);
        if (rest.find("/*") != std::string::npos) {
            block = true;
            continue;
        }
        if (block) {
            if (rest.find("*/") != std::string::npos) block = false;
            continue;
        }
        if (rest.empty() || !isalpha(static_cast<unsigned char>(rest[0])) ||
            static_cast<unsigned char>(rest[0]) > 127) {
            continue;
        }
        if (line.size() > LINE_BUFFER) script.longLine = true;
        if (Lower(line).find("message=") != std::string::npos) continue;
        size_t word = rest.find_first_of(" \t");
        if (word == std::string::npos) word = rest.size();
        if (word > 32) word = 32;  // a keyword is at most 32 characters; the argument follows
        Command command{KeywordCode(rest.substr(0, word)), ""};
        const size_t argument = rest.find_first_not_of(" \t", word);
        if (argument != std::string::npos) command.argument = rest.substr(argument);
        if (command.keyword == 4) {
            RemoveAll(&command.argument, "seconds");
            RemoveAll(&command.argument, "second");
        }
        script.commands.push_back(command);
    }
    return script;
}

}  // namespace script_model
