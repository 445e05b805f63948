// Any bytes as a settings backup to restore, into an in-memory store that already holds
// settings. A refused file leaves the store exactly as it was and names a line of the
// file; an accepted one leaves only what the program can read: texts the store's readers
// take, Mappings 0 to 254 and ShortTypes the editor admits, at most 64 of them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/wintypes.h"
#include "settings/settings_restore.h"
#include "tests/fakes/fakes.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "settings_restore: %s\n", what);
        abort();
    }
}

void Seed() {
    fake::store.clear();
    fake::store["software"];
    fake::store["software\\kelmor"]["speed"] = {"Speed", REG_DWORD, std::string("\3\0\0\0", 4)};
    fake::store["software\\kelmor\\shorttype"];
    fake::store["software\\kelmor\\shorttype\\zz"]["text"] = {"Text", REG_SZ, std::string("old\0", 4)};
}

int gNotes = 0;
void CountNote(const char* note) {
    Check(strncmp(note, "line ", 5) == 0, "a note without its line");
    ++gNotes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > RESTORE_MAX_FILE_SIZE) return 0;
    Seed();
    const auto before = fake::store;
    int lines = 1;
    for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
    gNotes = 0;
    RestoreOutcome outcome;
    const bool ok =
        RestoreSettingsText(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size), CountNote, &outcome);
    Check(outcome.skipped == gNotes, "notes miscounted");
    Check(strlen(outcome.error) < sizeof outcome.error, "error text overrun");
    if (!ok) {
        // The fake store never fails a write, so only the file can refuse.
        Check(outcome.errorLine >= 1 && outcome.errorLine <= lines, "a refusal names no line of the file");
        Check(fake::StoreEquals(before), "a refused file changed the store");
        return 0;
    }
    Check(outcome.errorLine == 0 && outcome.error[0] == '\0', "success with an error");
    int shortTypes = 0;
    for (const auto& key : fake::store) {
        const std::string& path = key.first;
        if (path.compare(0, 26, "software\\kelmor\\shorttype\\") == 0) {
            const std::string name = path.substr(26);
            Check(name.size() >= 2 && name.size() <= 15 && name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789 ") ==
                                                               std::string::npos,
                  "a ShortType the editor would not admit");
            ++shortTypes;
        } else if (path.compare(0, 25, "software\\kelmor\\mappings\\") == 0) {
            const int n = atoi(path.c_str() + 25);
            Check(n >= 0 && n <= 254 && std::to_string(n) == path.substr(25), "a Mapping key out of range");
        }
        for (const auto& value : key.second) {
            const fake::StoredValue& v = value.second;
            if (v.kind == REG_DWORD) {
                Check(v.data.size() == 4, "a number of another size");
            } else {
                Check(v.data.size() >= 1 && v.data.size() <= 256 && v.data.back() == '\0' &&
                          v.data.find('\0') == v.data.size() - 1,
                      "a text the store's readers cannot take");
            }
        }
    }
    Check(shortTypes <= 64, "more than 64 ShortTypes");
    return 0;
}
