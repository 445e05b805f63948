// The one table of message names: the names recordings are read and written with, and
// the names the play and record log lines print.
#pragma once
#include <cstdint>

struct MessageName {
    const char* name;
    uint32_t code;
    bool logged;  // the log lines print the name; others are printed as numbers
};

// Reading order: the first name found inside a message value wins.
extern const MessageName kMessageNames[12];

// The name a file holds for message, or nullptr when it is written as its number.
const char* MessageFileName(uint32_t message);
// The name the log lines print for message, or nullptr when they print it as a number.
const char* LogMessageName(uint32_t message);
