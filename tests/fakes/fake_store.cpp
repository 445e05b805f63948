#include <algorithm>
#include <cstring>

#include "platform/registry.h"
#include "platform/system.h"
#include "tests/fakes/fakes.h"

namespace fake {

std::map<std::string, std::map<std::string, StoredValue>> store;
int storeWritesBeforeFailure = -1;
bool storeEndFails = false;
int storeSetsWritten = 0;

namespace {

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return s;
}

// Spelling of each key's last part as created, by lower-case path. The store's own map
// is keyed in lower case (tests look keys up that way), so the spelling lives beside it.
std::map<std::string, std::string> keySpelling;

// The store as it was when the set of changes being made began.
bool changing = false;
std::map<std::string, std::map<std::string, StoredValue>> storeBefore;
std::map<std::string, std::string> spellingBefore;

// Counts a write against storeWritesBeforeFailure; false for one that fails.
bool WriteAllowed() {
    if (storeWritesBeforeFailure == 0) return false;
    if (storeWritesBeforeFailure > 0) --storeWritesBeforeFailure;
    return true;
}

}  // namespace

void ResetStore() {
    store.clear();
    keySpelling.clear();
    changing = false;
    storeWritesBeforeFailure = -1;
    storeEndFails = false;
    storeSetsWritten = 0;
}

bool StoreEquals(const std::map<std::string, std::map<std::string, StoredValue>>& other) {
    auto same = [](const std::map<std::string, StoredValue>& a, const std::map<std::string, StoredValue>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
            return x.first == y.first && x.second.kind == y.second.kind && x.second.data == y.second.data;
        });
    };
    return std::equal(store.begin(), store.end(), other.begin(), other.end(),
                      [&](const auto& x, const auto& y) { return x.first == y.first && same(x.second, y.second); });
}

bool StoredDword(const std::string& keyPath, const std::string& name, uint32_t* out) {
    auto key = store.find(Lower(keyPath));
    if (key == store.end()) return false;
    auto value = key->second.find(Lower(name));
    if (value == key->second.end() || value->second.kind != REG_DWORD || value->second.data.size() != 4) return false;
    memcpy(out, value->second.data.data(), 4);
    return true;
}

bool StoredString(const std::string& keyPath, const std::string& name, std::string* out, uint32_t* kind) {
    auto key = store.find(Lower(keyPath));
    if (key == store.end()) return false;
    auto value = key->second.find(Lower(name));
    if (value == key->second.end() || value->second.kind == REG_DWORD) return false;
    *out = std::string(value->second.data.c_str());
    if (kind != nullptr) *kind = value->second.kind;
    return true;
}

}  // namespace fake

using fake::Lower;
using fake::store;

bool StoreKeyExists(const char* keyPath) { return store.count(Lower(keyPath)) != 0; }

bool StoreCreateKey(const char* keyPath) {
    std::string path = keyPath;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i != path.size() && path[i] != '\\') continue;
        std::string lower = Lower(path.substr(0, i));
        if (store.count(lower) != 0) continue;
        if (!fake::WriteAllowed()) return false;
        store[lower];
        std::string spelled = path.substr(0, i);
        size_t slash = spelled.rfind('\\');
        fake::keySpelling[lower] = slash == std::string::npos ? spelled : spelled.substr(slash + 1);
    }
    return true;
}

bool StoreQueryValue(const char* keyPath, const char* name, uint32_t* kind, void* data, uint32_t* size) {
    // A value that is not there leaves its error, as the system's stores do.
    const uint32_t kNotFound = 2;
    auto key = store.find(Lower(keyPath));
    if (key == store.end()) return SysSetLastError(kNotFound), false;
    auto value = key->second.find(Lower(name));
    if (value == key->second.end()) return SysSetLastError(kNotFound), false;
    if (value->second.data.size() > *size) return false;
    memcpy(data, value->second.data.data(), value->second.data.size());
    *size = static_cast<uint32_t>(value->second.data.size());
    *kind = value->second.kind;
    return true;
}

bool StoreSetValue(const char* keyPath, const char* name, uint32_t kind, const void* data, uint32_t size) {
    auto key = store.find(Lower(keyPath));
    if (key == store.end() || !fake::WriteAllowed()) return false;
    auto& value = key->second[Lower(name)];
    if (value.name.empty()) value.name = name;
    value.kind = kind;
    value.data.assign(static_cast<const char*>(data), size);
    return true;
}

bool StoreDeleteValue(const char* keyPath, const char* name) {
    auto key = store.find(Lower(keyPath));
    return key != store.end() && key->second.erase(Lower(name)) != 0;
}

bool StoreDeleteKey(const char* keyPath) {
    std::string path = Lower(keyPath);
    if (store.count(path) == 0) return false;
    for (const auto& entry : store) {
        if (entry.first.size() > path.size() && entry.first.compare(0, path.size(), path) == 0 &&
            entry.first[path.size()] == '\\') {
            return false;
        }
    }
    store.erase(path);
    fake::keySpelling.erase(path);
    return true;
}

bool StoreEnumKey(const char* keyPath, uint32_t index, char* name, uint32_t size) {
    std::string prefix = Lower(keyPath) + "\\";
    std::vector<std::string> children;
    for (const auto& entry : store) {
        if (entry.first.compare(0, prefix.size(), prefix) == 0 &&
            entry.first.find('\\', prefix.size()) == std::string::npos) {
            children.push_back(entry.first.substr(prefix.size()));
        }
    }
    std::sort(children.begin(), children.end());
    if (index < children.size()) {
        // A key put straight into the map by a test has no recorded spelling.
        auto spelled = fake::keySpelling.find(prefix + children[index]);
        if (spelled != fake::keySpelling.end()) children[index] = spelled->second;
    }
    if (index >= children.size() || children[index].size() + 1 > size) return false;
    memcpy(name, children[index].c_str(), children[index].size() + 1);
    return true;
}

bool StoreBeginChanges() {
    if (fake::changing) return false;
    fake::changing = true;
    fake::storeBefore = store;
    fake::spellingBefore = fake::keySpelling;
    return true;
}

bool StoreEndChanges(bool keep) {
    if (!fake::changing) return false;
    fake::changing = false;
    if (keep && !fake::storeEndFails) {
        ++fake::storeSetsWritten;
        return true;
    }
    store = fake::storeBefore;
    fake::keySpelling = fake::spellingBefore;
    if (keep) SysSetLastError(fake::kStoreEndError);
    return !keep;
}

// No window runs beside the unit tests.
bool StoreHoldForWindow() { return true; }
void StoreReleaseWindowHold() {}
bool StoreKeepWindowsOut(bool* windowOpen) {
    *windowOpen = false;
    return true;
}
void StoreLetWindowsIn() {}
bool StoreUsesFile(const char*) { return false; }
