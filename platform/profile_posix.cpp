// The settings file service of the Linux build: the format of
// profile_text.cpp on real files.
//
// - The path is taken relative to the current folder; '\' separates
//   folders like '/'. A path without a folder part stays in the current
//   folder (Windows would look in its own folder, which does not exist here).
// - A file that is missing, is not a regular file, cannot be read or is
//   larger than 64 MB reads as no file: every read gives its default.
// - A write makes the whole new file in a temporary file in the same folder
//   and renames it over the old one, so that a process that dies at any
//   moment leaves either the old file or the new one, never a part of
//   either. The file keeps its permission bits; through a symbolic link the
//   file it points at is replaced, not the link. A file that exists but
//   cannot be read is never replaced, so a failed read cannot lose its keys.
#include "platform/profile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/profile_text.h"

namespace {

// Larger files are treated as unreadable: reads give defaults and writes
// fail, so the file is never replaced.
constexpr size_t PROFILE_MAX_BYTES = size_t{64} << 20;

struct FileBytes {
    char* data;
    size_t size;
    mode_t mode;
};

enum LoadResult { LOAD_OK, LOAD_MISSING, LOAD_FAILED };

// Turns the Windows-style path into a POSIX one.
bool local_path(const char* path, char* out, size_t size) {
    size_t n = std::strlen(path);
    if (n == 0 || n >= size) return false;
    for (size_t i = 0; i < n; ++i) out[i] = path[i] == '\\' ? '/' : path[i];
    out[n] = '\0';
    return true;
}

LoadResult load_file(const char* path, FileBytes* f) {
    *f = FileBytes{nullptr, 0, 0};
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return (errno == ENOENT || errno == ENOTDIR) ? LOAD_MISSING : LOAD_FAILED;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || size_t(st.st_size) > PROFILE_MAX_BYTES) {
        close(fd);
        return LOAD_FAILED;
    }
    f->mode = st.st_mode & 07777;
    // The file may grow while it is read; read to its end, within the limit.
    size_t capacity = size_t(st.st_size) + 1;
    f->data = static_cast<char*>(std::malloc(capacity));
    while (f->data) {
        if (f->size == capacity) {
            if (capacity > PROFILE_MAX_BYTES) break;
            char* bigger = static_cast<char*>(std::realloc(f->data, capacity * 2));
            if (!bigger) break;
            f->data = bigger;
            capacity *= 2;
        }
        ssize_t got = read(fd, f->data + f->size, capacity - f->size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        if (got == 0) {
            close(fd);
            return LOAD_OK;
        }
        f->size += size_t(got);
    }
    close(fd);
    std::free(f->data);
    f->data = nullptr;
    return LOAD_FAILED;
}

bool write_all(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t put = write(fd, p, n);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        p += put;
        n -= size_t(put);
    }
    return true;
}

// Writes the new bytes to a new file beside `path` and renames it over
// `path`. On any failure the temporary file is removed and `path` is
// untouched.
bool replace_file(const char* path, const char* bytes, size_t size, bool keep_mode, mode_t mode) {
    char temp[PATH_MAX];
    const char* slash = std::strrchr(path, '/');
    int folder_n = slash ? int(slash - path + 1) : 0;
    const char* base = slash ? slash + 1 : path;
    int fd = -1;
    for (unsigned attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        int n = std::snprintf(temp, sizeof temp, "%.*s.%s.%ld.%u.tmp", folder_n, path, base,
                              long(getpid()), attempt);
        if (n < 0 || size_t(n) >= sizeof temp) return false;
        fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    bool ok = write_all(fd, bytes, size);
    if (ok && keep_mode) ok = fchmod(fd, mode) == 0;
    if (close(fd) != 0) ok = false;
    if (ok) ok = rename(temp, path) == 0;
    if (!ok) unlink(temp);
    return ok;
}

}  // namespace

uint32_t profile_read(const char* section, const char* key, const char* default_text,
                      char* buffer, uint32_t size, const char* path) {
    char local[PATH_MAX];
    FileBytes f{nullptr, 0, 0};
    bool loaded = path && local_path(path, local, sizeof local) && load_file(local, &f) == LOAD_OK;
    uint32_t result = profile_text_read(loaded ? f.data : nullptr, f.size, section, key,
                                        default_text, buffer, size);
    std::free(f.data);
    return result;
}

bool profile_write(const char* section, const char* key, const char* value, const char* path) {
    char local[PATH_MAX], target[PATH_MAX];
    if (!path || !local_path(path, local, sizeof local)) return false;
    const char* file = realpath(local, target) ? target : local;

    FileBytes f{nullptr, 0, 0};
    LoadResult loaded = load_file(file, &f);
    if (loaded == LOAD_FAILED) return false;
    char* bytes = nullptr;
    size_t size = 0;
    ProfileTextWrite change = profile_text_write(loaded == LOAD_OK ? f.data : nullptr, f.size,
                                                 section, key, value, &bytes, &size);
    bool ok = change == PROFILE_TEXT_SAME ||
              (change == PROFILE_TEXT_CHANGED && replace_file(file, bytes, size, loaded == LOAD_OK, f.mode));
    std::free(bytes);
    std::free(f.data);
    return ok;
}
