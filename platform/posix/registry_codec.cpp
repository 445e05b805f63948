// Text form of the settings store: a GLib key file with one group per key and one entry
// per value. Names are escaped so that any byte sequence survives the key-file syntax;
// every value carries its kind in front ("dword:", "sz:", "expand:", or "hex(<kind>):"
// for anything that is not a plain text or a four-byte number).
#include <glib.h>

#include <cstring>

#include "platform/posix/registry_internal.h"
#include "platform/wintypes.h"

namespace kstore {

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

// The text a string value is written as, when it has one: a single terminating zero at
// the end and valid UTF-8 before it. Anything else goes out as hexadecimal bytes.
bool PlainText(const Value& value) {
    if (value.kind != REG_SZ && value.kind != REG_EXPAND_SZ) return false;
    const std::string& d = value.data;
    if (d.empty() || d.back() != '\0') return false;
    if (memchr(d.data(), '\0', d.size() - 1) != nullptr) return false;
    return g_utf8_validate(d.data(), static_cast<gssize>(d.size() - 1), nullptr);
}

std::string EncodeHex(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += kHexDigits[c >> 4];
        out += kHexDigits[c & 15];
    }
    return out;
}

bool DecodeHex(const char* text, std::string* bytes) {
    bytes->clear();
    for (const char* p = text; *p != '\0'; p += 2) {
        int hi = HexValue(p[0]);
        int lo = hi < 0 ? -1 : HexValue(p[1]);
        if (lo < 0) return false;
        *bytes += static_cast<char>(hi << 4 | lo);
    }
    return true;
}

bool ParseDword(const char* text, std::string* bytes) {
    size_t n = strlen(text);
    if (n == 0 || n > 8) return false;
    uint32_t v = 0;
    for (size_t i = 0; i < n; ++i) {
        int h = HexValue(text[i]);
        if (h < 0) return false;
        v = v << 4 | static_cast<uint32_t>(h);
    }
    char le[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                  static_cast<char>(v >> 24)};
    bytes->assign(le, 4);
    return true;
}

// "hex(<kind>):<bytes>"
bool ParseHexValue(const char* text, uint32_t* kind, std::string* bytes) {
    const char* p = text + 4;
    uint64_t k = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9' && k <= 0xFFFFFFFFu) k = k * 10 + static_cast<uint64_t>(*p++ - '0');
    if (p == digits || k > 0xFFFFFFFFu || p[0] != ')' || p[1] != ':') return false;
    *kind = static_cast<uint32_t>(k);
    return DecodeHex(p + 2, bytes);
}

bool ParseValue(GKeyFile* file, const char* group, const char* entry, Value* value) {
    gchar* raw = g_key_file_get_value(file, group, entry, nullptr);
    if (raw == nullptr) return false;
    std::string text = raw;
    g_free(raw);
    bool ok = false;
    if (StartsWith(text, "dword:")) {
        value->kind = REG_DWORD;
        ok = ParseDword(text.c_str() + 6, &value->data);
    } else if (StartsWith(text, "hex(")) {
        ok = ParseHexValue(text.c_str(), &value->kind, &value->data);
    } else if (StartsWith(text, "sz:") || StartsWith(text, "expand:")) {
        // Only the string reader undoes the key file's escapes (and insists on UTF-8).
        gchar* unescaped = g_key_file_get_string(file, group, entry, nullptr);
        if (unescaped != nullptr) {
            value->kind = text[0] == 's' ? REG_SZ : REG_EXPAND_SZ;
            const char* body = strchr(unescaped, ':') + 1;
            value->data.assign(body, strlen(body) + 1);
            g_free(unescaped);
            ok = true;
        }
    }
    return ok;
}

std::string EncodePath(const std::string& path) {
    std::string out;
    size_t start = 0;
    for (;;) {
        size_t end = path.find('\\', start);
        out += EncodeName(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return out;
        out += '\\';
        start = end + 1;
    }
}

}  // namespace

std::string Fold(const std::string& s) {
    std::string out = s;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return out;
}

bool SplitKeyPath(const char* path, std::vector<std::string>* parts) {
    parts->clear();
    if (path == nullptr) return false;
    if (path[0] == '\0') return true;
    const char* start = path;
    for (const char* p = path;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (p == start) return false;
            parts->emplace_back(start, static_cast<size_t>(p - start));
            if (*p == '\0') return true;
            start = p + 1;
        }
    }
}

Key* EnsureKey(Model* model, const std::vector<std::string>& parts, bool builtIn) {
    std::string folded;
    Key* key = nullptr;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i != 0) folded += '\\';
        folded += Fold(parts[i]);
        auto it = model->keys.find(folded);
        if (it == model->keys.end()) {
            Key fresh;
            fresh.path = key != nullptr ? key->path + "\\" + parts[i] : parts[i];
            fresh.builtIn = builtIn;
            it = model->keys.emplace(folded, std::move(fresh)).first;
        }
        key = &it->second;
    }
    return key;
}

Key* FindKey(Model* model, const std::string& foldedPath) {
    auto it = model->keys.find(foldedPath);
    return it == model->keys.end() ? nullptr : &it->second;
}

Value* FindValue(Key* key, const std::string& name) {
    for (Value& v : key->values) {
        if (v.name.size() != name.size()) continue;
        size_t i = 0;
        while (i < name.size() && g_ascii_tolower(v.name[i]) == g_ascii_tolower(name[i])) ++i;
        if (i == name.size()) return &v;
    }
    return nullptr;
}

std::string EncodeName(const std::string& raw) {
    if (raw.empty()) return "@";
    // Valid UTF-8 stays readable; other high bytes would make the file unreadable as text.
    bool utf8 = g_utf8_validate(raw.data(), static_cast<gssize>(raw.size()), nullptr);
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(raw[i]);
        bool escape = c < 0x20 || c == 0x7F || (c >= 0x80 && !utf8) ||
                      (c == ' ' && (i == 0 || i + 1 == raw.size())) ||
                      (c < 0x80 && strchr("%[]=#@\\", static_cast<char>(c)) != nullptr);
        if (escape) {
            out += '%';
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool DecodeName(const std::string& encoded, std::string* raw) {
    raw->clear();
    if (encoded == "@") return true;
    if (encoded.empty()) return false;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            *raw += encoded[i];
            continue;
        }
        int hi = i + 2 < encoded.size() ? HexValue(encoded[i + 1]) : -1;
        int lo = hi < 0 ? -1 : HexValue(encoded[i + 2]);
        // A name travels as a C string through every caller; a NUL inside would cut it.
        if (lo < 0 || (hi | lo) == 0) return false;
        *raw += static_cast<char>(hi << 4 | lo);
        i += 2;
    }
    return true;
}

void AddBuiltInKeys(Model* model) {
    std::vector<std::string> parts;
    SplitKeyPath("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", &parts);
    EnsureKey(model, parts, true);
}

void ParseStore(const char* text, size_t length, Model* model) {
    model->keys.clear();
    model->damaged = false;
    GKeyFile* file = g_key_file_new();
    if (length != 0 && !g_key_file_load_from_data(file, text, length, G_KEY_FILE_NONE, nullptr)) {
        model->damaged = true;
    } else {
        gchar** groups = g_key_file_get_groups(file, nullptr);
        for (gchar** group = groups; *group != nullptr; ++group) {
            std::vector<std::string> parts;
            bool ok = SplitKeyPath(*group, &parts) && !parts.empty();
            for (std::string& part : parts) {
                std::string raw;
                ok = ok && DecodeName(part, &raw) && !raw.empty() && raw.find('\\') == std::string::npos;
                part = raw;
            }
            if (!ok) {
                model->damaged = true;
                continue;
            }
            Key* key = EnsureKey(model, parts, false);
            gchar** entries = g_key_file_get_keys(file, *group, nullptr, nullptr);
            for (gchar** entry = entries; entry != nullptr && *entry != nullptr; ++entry) {
                Value value;
                if (!DecodeName(*entry, &value.name) || !ParseValue(file, *group, *entry, &value)) {
                    model->damaged = true;
                    continue;
                }
                Value* existing = FindValue(key, value.name);
                if (existing != nullptr) {
                    existing->kind = value.kind;
                    existing->data = std::move(value.data);
                } else {
                    key->values.push_back(std::move(value));
                }
            }
            g_strfreev(entries);
        }
        g_strfreev(groups);
    }
    g_key_file_free(file);
    AddBuiltInKeys(model);
}

std::string SerializeStore(const Model& model) {
    GKeyFile* file = g_key_file_new();
    for (const auto& entry : model.keys) {
        const Key& key = entry.second;
        if (key.builtIn && key.values.empty()) continue;
        std::string group = EncodePath(key.path);
        if (key.values.empty()) {
            // GLib has no call that adds a bare group; an entry added and removed leaves one.
            g_key_file_set_value(file, group.c_str(), "x", "");
            g_key_file_remove_key(file, group.c_str(), "x", nullptr);
        }
        for (const Value& value : key.values) {
            std::string name = EncodeName(value.name);
            if (value.kind == REG_DWORD && value.data.size() == 4) {
                const unsigned char* b = reinterpret_cast<const unsigned char*>(value.data.data());
                uint32_t v = b[0] | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
                             static_cast<uint32_t>(b[3]) << 24;
                char text[16];
                snprintf(text, sizeof text, "dword:%08x", v);
                g_key_file_set_value(file, group.c_str(), name.c_str(), text);
            } else if (PlainText(value)) {
                std::string text = (value.kind == REG_SZ ? "sz:" : "expand:") + value.data.substr(0, value.data.size() - 1);
                g_key_file_set_string(file, group.c_str(), name.c_str(), text.c_str());
            } else {
                std::string text = "hex(" + std::to_string(value.kind) + "):" + EncodeHex(value.data);
                g_key_file_set_value(file, group.c_str(), name.c_str(), text.c_str());
            }
        }
    }
    gsize length = 0;
    gchar* data = g_key_file_to_data(file, &length, nullptr);
    std::string out = "# Kelmor settings\n\n";
    if (data != nullptr) out.append(data, length);
    g_free(data);
    g_key_file_free(file);
    return out;
}

}  // namespace kstore
