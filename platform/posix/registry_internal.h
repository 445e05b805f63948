// The settings store on Linux: the parsed form of the key file, its text codec and the
// autostart entry that stands in for the Run value. Shared by registry*.cpp only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kstore {

struct Value {
    std::string name;  // spelling of the first write
    uint32_t kind;
    std::string data;  // raw bytes; strings include their terminating zero
};

struct Key {
    std::string path;  // full path, each part spelled as when it was first created
    std::vector<Value> values;
    // Keys that exist on every system (the Run key and its parents) are not written
    // out unless they hold values; they are added again whenever a file is parsed.
    bool builtIn = false;
};

struct Model {
    // Folded full path (ASCII lower case) -> key. Every parent of a key is present, and
    // the map order is the case-insensitive order that enumeration needs.
    std::map<std::string, Key> keys;
    // Some of the file could not be understood; it is kept aside before it is replaced.
    bool damaged = false;
};

std::string Fold(const std::string& s);
// Splits a backslash path into its parts; false for an empty part. "" is the root (no parts).
bool SplitKeyPath(const char* path, std::vector<std::string>* parts);
// Creates the key and its missing parents; returns it (nullptr for the root).
Key* EnsureKey(Model* model, const std::vector<std::string>& parts, bool builtIn);
Key* FindKey(Model* model, const std::string& foldedPath);
Value* FindValue(Key* key, const std::string& name);

// Parses a store file. Never fails: what cannot be read is left out and marks the model
// damaged. The built-in keys are always added.
void ParseStore(const char* text, size_t length, Model* model);
std::string SerializeStore(const Model& model);
void AddBuiltInKeys(Model* model);

// Name codec used for group and entry names, exposed for tests of odd names.
std::string EncodeName(const std::string& raw);
bool DecodeName(const std::string& encoded, std::string* raw);

// The Run value's home. All return false with the last error set on failure.
extern const char kRunKeyFolded[];
extern const char kRunValueFolded[];
bool AutostartQuery(uint32_t* kind, std::string* data);
bool AutostartSet(uint32_t kind, const void* data, uint32_t size);
bool AutostartDelete();

// Paths: $XDG_CONFIG_HOME (when absolute) or GLib's user config folder.
std::string ConfigDir();
// A file being written is named: its final name, this infix, kTemporaryRandomLength
// random letters and digits.
const char kTemporaryInfix[] = ".tmp-";
const size_t kTemporaryRandomLength = 6;
bool IsTemporaryName(const char* name, const std::string& finalName);
// Writes a file beside its final name and renames it into place, mode 0600.
// Returns 0 or an errno value. When keepFd is given, it receives an open descriptor of the
// new file (the caller closes it).
int WriteFileAtomically(const std::string& path, const std::string& contents, int* keepFd);

bool Fail(int error);

}  // namespace kstore
