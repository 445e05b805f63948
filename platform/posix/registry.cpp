// The settings store on Linux: a key file shared by every Kelmor process of the user.
// Readers never lock: writers replace the whole file by rename, so a reader sees either
// the old or the new file. Writers serialise on a lock file and re-read under the lock, so
// no process overwrites a change it has not seen; a set of changes holds that lock from
// its beginning to its end. Running windows hold a second lock file, shared.
#include "platform/registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <mutex>

#include "platform/posix/last_error.h"
#include "platform/posix/registry_internal.h"

namespace kstore {

bool Fail(int error) {
    errno = error;
    PosixSetLastErrorFromErrno();
    return false;
}

std::string ConfigDir() {
    // Read at every call rather than through GLib's cache, so the folder follows the
    // environment the way the rest of the session sees it.
    const char* env = getenv("XDG_CONFIG_HOME");
    if (env != nullptr && env[0] == '/') return env;
    return g_get_user_config_dir();
}

namespace {

std::string DirectoryOf(const std::string& path) {
    gchar* dir = g_path_get_dirname(path.c_str());
    std::string out = dir;
    g_free(dir);
    return out;
}

int WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

}  // namespace

bool IsTemporaryName(const char* name, const std::string& finalName) {
    const std::string prefix = finalName + kTemporaryInfix;
    if (strncmp(name, prefix.c_str(), prefix.size()) != 0) return false;
    const char* rest = name + prefix.size();
    if (strlen(rest) != kTemporaryRandomLength) return false;
    for (; *rest != '\0'; ++rest) {
        if (!g_ascii_isalnum(*rest)) return false;
    }
    return true;
}

int WriteFileAtomically(const std::string& path, const std::string& contents, int* keepFd) {
    std::string name = path + kTemporaryInfix + std::string(kTemporaryRandomLength, 'X');
    int fd = mkostemp(&name[0], O_CLOEXEC);
    if (fd < 0) return errno;
    // Held while the file is being written: whoever cleans up temporaries can tell a
    // live one from the leftover of a writer that was killed.
    flock(fd, LOCK_EX);
    int err = 0;
    // mkostemp's mode is subject to the umask; the store holds private settings.
    if (fchmod(fd, 0600) != 0) err = errno;
    if (err == 0) err = WriteAll(fd, contents);
    if (err == 0 && fsync(fd) != 0) err = errno;
    if (err == 0 && rename(name.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        unlink(name.c_str());
        close(fd);
        return err;
    }
    // Make the rename itself durable; a failure here loses nothing that was promised.
    int dir = open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    flock(fd, LOCK_UN);
    if (keepFd != nullptr) {
        *keepFd = fd;
    } else {
        close(fd);
    }
    return 0;
}

namespace {

const off_t kMaxStoreSize = 64 << 20;
const size_t kMaxKeyName = 255;

std::string StorePath() {
    const char* env = getenv("KELMOR_REGISTRY");
    if (env != nullptr && env[0] != '\0') return env;
    return ConfigDir() + "/kelmor/registry.ini";
}

// A store that is a symbolic link (kept in a dotfiles folder, say) stays one: the new
// file replaces what the link points at.
std::string WriteTarget(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = realpath(path.c_str(), nullptr);
        if (real != nullptr) {
            std::string out = real;
            free(real);
            return out;
        }
    }
    return path;
}

struct FileId {
    dev_t dev;
    ino_t ino;
    off_t size;
    timespec mtime;
    timespec ctime;
};

FileId IdOf(const struct stat& st) { return FileId{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim}; }

bool SameId(const FileId& a, const FileId& b) {
    return a.dev == b.dev && a.ino == b.ino && a.size == b.size && a.mtime.tv_sec == b.mtime.tv_sec &&
           a.mtime.tv_nsec == b.mtime.tv_nsec && a.ctime.tv_sec == b.ctime.tv_sec &&
           a.ctime.tv_nsec == b.ctime.tv_nsec;
}

// The parsed file of the last access. The descriptor of that file stays open so that its
// inode number cannot be reused by a later file while the cache compares against it.
struct Cache {
    std::string path;
    bool parsed = false;   // model holds the file identified by id and fd
    bool missing = false;  // model is the empty store of a file that does not exist
    int fd = -1;
    FileId id{};
    Model model;
};

Cache gCache;
std::mutex gMutex;

// A set of changes being made (StoreBeginChanges): the store as this process changes it,
// written once at the end, under the writers' lock held all along.
struct Changes {
    bool active = false;
    bool changed = false;
    bool damaged = false;  // the file it began from could not be understood
    int lock = -1;
    std::string path;
    Model model;
};

Changes gChanges;

void Forget() {
    if (gCache.fd >= 0) close(gCache.fd);
    gCache.fd = -1;
    gCache.parsed = false;
    gCache.missing = false;
}

bool ReadWhole(int fd, std::string* out) {
    out->clear();
    char buf[65536];
    for (;;) {
        ssize_t n = pread(fd, buf, sizeof buf, static_cast<off_t>(out->size()));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        out->append(buf, static_cast<size_t>(n));
        if (out->size() > static_cast<size_t>(kMaxStoreSize)) return false;
    }
}

// The store as it is on disk now. Never fails: a missing file is an empty store, and one
// that cannot be read or understood reads as empty too, marked damaged so that the next
// write keeps it aside.
Model& Current() {
    if (gChanges.active) return gChanges.model;
    std::string path = StorePath();
    if (gCache.path != path) {
        Forget();
        gCache.path = path;
    }
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        bool missing = errno == ENOENT;
        if (missing && gCache.missing) return gCache.model;
        Forget();
        ParseStore("", 0, &gCache.model);
        gCache.missing = missing;
        return gCache.model;
    }
    if (gCache.parsed && SameId(IdOf(st), gCache.id)) return gCache.model;
    Forget();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat fst;
    std::string text;
    if (fd < 0 || fstat(fd, &fst) != 0 || !S_ISREG(fst.st_mode) || fst.st_size > kMaxStoreSize ||
        !ReadWhole(fd, &text)) {
        if (fd >= 0) close(fd);
        ParseStore("", 0, &gCache.model);
        gCache.model.damaged = true;
        return gCache.model;
    }
    ParseStore(text.data(), text.size(), &gCache.model);
    gCache.fd = fd;
    gCache.id = IdOf(fst);
    gCache.parsed = true;
    return gCache.model;
}

int CopyFile(const std::string& from, const std::string& to) {
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errno;
    std::string data;
    int err = ReadWhole(in, &data) ? 0 : (errno != 0 ? errno : EFBIG);
    close(in);
    if (err != 0) return err;
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) return errno;
    err = WriteAll(out, data);
    if (err == 0 && fsync(out) != 0) err = errno;
    close(out);
    if (err != 0) unlink(to.c_str());
    return err;
}

// Keeps a file that could not be understood under a dated name before it is replaced.
int KeepAside(const std::string& path) {
    std::string stem = path + ".corrupt-" + std::to_string(static_cast<long long>(time(nullptr)));
    for (int i = 0; i < 1000; ++i) {
        std::string name = i == 0 ? stem : stem + "-" + std::to_string(i);
        if (link(path.c_str(), name.c_str()) == 0) return 0;
        if (errno == EEXIST) continue;
        int err = CopyFile(path, name);
        if (err != EEXIST) return err;
    }
    return EEXIST;
}

// Removes what writers killed mid-write left beside the store. Called under the store's
// lock, where no writer of the store is at work, so an unlocked temporary is dead; only
// regular files of this user that carry the exact temporary name are touched.
void RemoveStaleTemporaries(const std::string& target) {
    DIR* dir = opendir(DirectoryOf(target).c_str());
    if (dir == nullptr) return;
    gchar* base = g_path_get_basename(target.c_str());
    const std::string finalName = base;
    g_free(base);
    while (const dirent* entry = readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, finalName)) continue;
        int fd = openat(dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlinkat(dirfd(dir), entry->d_name, 0);
        }
        close(fd);
    }
    closedir(dir);
}

// Writes the new store and makes it the cached one.
int Commit(const std::string& path, bool damaged, Model* next) {
    std::string target = WriteTarget(path);
    struct stat st;
    if (damaged && lstat(target.c_str(), &st) == 0) {
        int err = KeepAside(target);
        if (err != 0) return err;
    }
    int fd = -1;
    int err = WriteFileAtomically(target, SerializeStore(*next), &fd);
    if (err != 0) return err;
    Forget();
    if (fstat(fd, &st) == 0) {
        gCache.fd = fd;
        gCache.id = IdOf(st);
        gCache.parsed = true;
    } else {
        close(fd);
    }
    next->damaged = false;
    gCache.model = std::move(*next);
    return 0;
}

// Opens (creating it and its folder) a file beside the store that only serves to be locked.
int OpenLockFile(const std::string& path) {
    if (g_mkdir_with_parents(DirectoryOf(path).c_str(), 0700) != 0) return -1;
    return open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

// Takes the lock on fd (LOCK_SH, LOCK_EX, with LOCK_NB or not); 0 or an errno value.
int Lock(int fd, int operation) {
    while (flock(fd, operation) != 0) {
        if (errno != EINTR) return errno;
    }
    return 0;
}

// The writers' lock of the store at path, taken; -1 with errno set when it cannot be.
int TakeWritersLock(const std::string& path) {
    int lock = OpenLockFile(path + ".lock");
    if (lock < 0) return -1;
    int err = Lock(lock, LOCK_EX);
    if (err == 0) {
        RemoveStaleTemporaries(WriteTarget(path));
        return lock;
    }
    close(lock);
    errno = err;
    return -1;
}

// Applies a change to the store as it is under the lock. The change returns 0 or an errno
// value and says whether it changed anything; an unchanged store is not rewritten. Within
// a set of changes it changes only the set.
bool Update(const std::function<int(Model*, bool*)>& change) {
    if (gChanges.active) {
        bool changed = false;
        int err = change(&gChanges.model, &changed);
        gChanges.changed = gChanges.changed || changed;
        return err == 0 ? true : Fail(err);
    }
    std::string path = StorePath();
    int lock = TakeWritersLock(path);
    if (lock < 0) return Fail(errno);
    Model& current = Current();
    Model next = current;
    bool changed = false;
    int err = change(&next, &changed);
    if (err == 0 && changed) err = Commit(path, current.damaged, &next);
    close(lock);
    return err == 0 ? true : Fail(err);
}

// Windows hold this file shared while they run; a restore holds it alone.
std::string WindowLockPath() { return StorePath() + ".window"; }
int gWindowHold = -1;
int gWindowsKeptOut = -1;

// Where a name leads: two names that lead to one file, or to one place in one folder
// where neither file exists yet, are the same.
bool SamePlace(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    const bool hasA = stat(a.c_str(), &sa) == 0;
    const bool hasB = stat(b.c_str(), &sb) == 0;
    if (hasA || hasB) return hasA && hasB && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    auto place = [](const std::string& name) {
        gchar* base = g_path_get_basename(name.c_str());
        char* folder = realpath(DirectoryOf(name).c_str(), nullptr);
        std::string out = folder != nullptr ? std::string(folder) + "/" + base : std::string();
        free(folder);
        g_free(base);
        return out;
    };
    const std::string placeA = place(a);
    return !placeA.empty() && placeA == place(b);
}

bool IsRunValue(const char* keyPath, const char* name) {
    return Fold(keyPath) == kRunKeyFolded && Fold(name) == kRunValueFolded;
}

}  // namespace

}  // namespace kstore

using namespace kstore;

bool StoreKeyExists(const char* keyPath) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(keyPath, &parts)) return Fail(EINVAL);
    if (parts.empty()) return true;
    std::lock_guard<std::mutex> hold(gMutex);
    return FindKey(&Current(), Fold(keyPath)) != nullptr ? true : Fail(ENOENT);
}

bool StoreCreateKey(const char* keyPath) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(keyPath, &parts)) return Fail(EINVAL);
    if (parts.empty()) return true;
    // As on Windows: every key name then fits the 256-byte buffer that lists it.
    for (const std::string& part : parts) {
        if (part.size() > kMaxKeyName) return Fail(ENAMETOOLONG);
    }
    std::lock_guard<std::mutex> hold(gMutex);
    if (FindKey(&Current(), Fold(keyPath)) != nullptr) return true;
    return Update([&](Model* model, bool* changed) {
        *changed = FindKey(model, Fold(keyPath)) == nullptr;
        EnsureKey(model, parts, false);
        return 0;
    });
}

bool StoreQueryValue(const char* keyPath, const char* name, uint32_t* kind, void* data, uint32_t* size) {
    if (keyPath == nullptr || name == nullptr || size == nullptr) return Fail(EINVAL);
    uint32_t storedKind = 0;
    std::string bytes;
    if (IsRunValue(keyPath, name)) {
        if (!AutostartQuery(&storedKind, &bytes)) return false;
    } else {
        std::lock_guard<std::mutex> hold(gMutex);
        Key* key = FindKey(&Current(), Fold(keyPath));
        Value* value = key != nullptr ? FindValue(key, name) : nullptr;
        if (value == nullptr) return Fail(ENOENT);
        storedKind = value->kind;
        bytes = value->data;
    }
    // Without a buffer the call asks only for the kind and size, as on Windows.
    if (data != nullptr) {
        if (bytes.size() > *size) return Fail(ERANGE);
        memcpy(data, bytes.data(), bytes.size());
    }
    *size = static_cast<uint32_t>(bytes.size());
    if (kind != nullptr) *kind = storedKind;
    return true;
}

bool StoreSetValue(const char* keyPath, const char* name, uint32_t kind, const void* data, uint32_t size) {
    if (keyPath == nullptr || name == nullptr || (data == nullptr && size != 0)) return Fail(EINVAL);
    if (IsRunValue(keyPath, name)) return AutostartSet(kind, data, size);
    std::string bytes = size == 0 ? std::string() : std::string(static_cast<const char*>(data), size);
    std::string folded = Fold(keyPath);
    std::lock_guard<std::mutex> hold(gMutex);
    // Settings are saved wholesale at exit; values that did not change cost no write.
    Key* cached = FindKey(&Current(), folded);
    Value* same = cached != nullptr ? FindValue(cached, name) : nullptr;
    if (same != nullptr && same->kind == kind && same->data == bytes) return true;
    return Update([&](Model* model, bool* changed) {
        Key* key = FindKey(model, folded);
        if (key == nullptr) return ENOENT;
        Value* value = FindValue(key, name);
        if (value == nullptr) {
            key->values.push_back(Value{name, kind, bytes});
        } else if (value->kind != kind || value->data != bytes) {
            value->kind = kind;
            value->data = bytes;
        } else {
            return 0;
        }
        *changed = true;
        return 0;
    });
}

bool StoreDeleteValue(const char* keyPath, const char* name) {
    if (keyPath == nullptr || name == nullptr) return Fail(EINVAL);
    if (IsRunValue(keyPath, name)) return AutostartDelete();
    std::string folded = Fold(keyPath);
    std::lock_guard<std::mutex> hold(gMutex);
    return Update([&](Model* model, bool* changed) {
        Key* key = FindKey(model, folded);
        Value* value = key != nullptr ? FindValue(key, name) : nullptr;
        if (value == nullptr) return ENOENT;
        key->values.erase(key->values.begin() + (value - key->values.data()));
        *changed = true;
        return 0;
    });
}

bool StoreDeleteKey(const char* keyPath) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(keyPath, &parts)) return Fail(EINVAL);
    std::string folded = Fold(keyPath);
    // The root and the Run key belong to the system, not to the store.
    if (parts.empty() || folded == kRunKeyFolded) return Fail(EACCES);
    std::lock_guard<std::mutex> hold(gMutex);
    return Update([&](Model* model, bool* changed) {
        auto it = model->keys.find(folded);
        if (it == model->keys.end()) return ENOENT;
        std::string prefix = folded + "\\";
        auto child = model->keys.lower_bound(prefix);
        if (child != model->keys.end() && child->first.compare(0, prefix.size(), prefix) == 0) return ENOTEMPTY;
        model->keys.erase(it);
        *changed = true;
        return 0;
    });
}

bool StoreEnumKey(const char* keyPath, uint32_t index, char* name, uint32_t size) {
    std::vector<std::string> parts;
    if (!SplitKeyPath(keyPath, &parts)) return Fail(EINVAL);
    std::string prefix = parts.empty() ? "" : Fold(keyPath) + "\\";
    std::lock_guard<std::mutex> hold(gMutex);
    Model& model = Current();
    if (!parts.empty() && FindKey(&model, Fold(keyPath)) == nullptr) return Fail(ENOENT);
    uint32_t seen = 0;
    for (auto it = model.keys.lower_bound(prefix); it != model.keys.end(); ++it) {
        if (it->first.compare(0, prefix.size(), prefix) != 0) break;
        if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
        if (seen++ != index) continue;
        const std::string& path = it->second.path;
        size_t slash = path.rfind('\\');
        std::string child = slash == std::string::npos ? path : path.substr(slash + 1);
        if (name == nullptr || child.size() + 1 > size) return Fail(ERANGE);
        memcpy(name, child.c_str(), child.size() + 1);
        return true;
    }
    return Fail(ENOENT);
}

bool StoreBeginChanges() {
    std::lock_guard<std::mutex> hold(gMutex);
    if (gChanges.active) return Fail(EBUSY);
    std::string path = StorePath();
    int lock = TakeWritersLock(path);
    if (lock < 0) return Fail(errno);
    Model& current = Current();
    gChanges.model = current;
    gChanges.damaged = current.damaged;
    gChanges.changed = false;
    gChanges.lock = lock;
    gChanges.path = path;
    gChanges.active = true;
    return true;
}

bool StoreEndChanges(bool keep) {
    std::lock_guard<std::mutex> hold(gMutex);
    if (!gChanges.active) return Fail(EINVAL);
    gChanges.active = false;
    int err = keep && gChanges.changed ? Commit(gChanges.path, gChanges.damaged, &gChanges.model) : 0;
    close(gChanges.lock);
    gChanges.lock = -1;
    gChanges.model = Model();
    return err == 0 ? true : Fail(err);
}

bool StoreHoldForWindow() {
    if (gWindowHold >= 0) return true;
    int fd = OpenLockFile(WindowLockPath());
    if (fd < 0) return Fail(errno);
    int err = Lock(fd, LOCK_SH);
    if (err != 0) {
        close(fd);
        return Fail(err);
    }
    gWindowHold = fd;
    return true;
}

void StoreReleaseWindowHold() {
    if (gWindowHold >= 0) close(gWindowHold);
    gWindowHold = -1;
}

bool StoreKeepWindowsOut(bool* windowOpen) {
    *windowOpen = false;
    if (gWindowsKeptOut >= 0) return true;
    int fd = OpenLockFile(WindowLockPath());
    if (fd < 0) return Fail(errno);
    int err = Lock(fd, LOCK_EX | LOCK_NB);
    if (err != 0) {
        close(fd);
        *windowOpen = err == EWOULDBLOCK;
        return Fail(err);
    }
    gWindowsKeptOut = fd;
    return true;
}

void StoreLetWindowsIn() {
    if (gWindowsKeptOut >= 0) close(gWindowsKeptOut);
    gWindowsKeptOut = -1;
}

bool StoreUsesFile(const char* name) {
    if (name == nullptr || name[0] == '\0') return false;
    const std::string path = StorePath();
    for (const std::string& own : {WriteTarget(path), path, path + ".lock", WindowLockPath()}) {
        if (SamePlace(name, own)) return true;
    }
    return false;
}
