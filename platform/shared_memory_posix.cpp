// Named sections on Linux: POSIX shared memory objects behaving like the
// page-file-backed sections of Windows.
//
// Names. A section "kt93_DH" becomes the object "/quillmar.<ns>.kt93_DH",
// where <ns> is the substitute host's channel namespace (left out, with its
// dot, when there is none). Characters other than letters, digits, '_' and
// '-' are written as %XX, so no name can reach outside the object folder and
// two different names never meet. A name that does not fit a file name, or
// an empty one, cannot be created.
//
// Participants. Windows frees a section with its last handle, in whatever
// process. Here every handle is its own open file description of the object
// and holds a shared lock on byte 0 of it ("in use") for as long as it is
// open. Opening and closing are serialised by an exclusive lock on byte 1
// ("setup"). Both are open-file-description locks: they tell two handles of
// one process apart, and the kernel drops them when a process dies, however
// it dies. So
// - a closing handle that can lock "in use" exclusively is the last one and
//   unlinks the object;
// - an opening handle that finds an object nobody has in use is looking at
//   what a crashed run left behind: it zeroes the bytes before using them,
//   so no value from an earlier run leaks into this one (the object keeps
//   its size);
// - an opener that got hold of an object just unlinked by its last closer
//   sees a link count of 0 and starts over with a fresh object.
//
// Safety. Objects are created with mode 0600. An existing object is used
// only when it is a regular file of this user with no group or other access
// and at least as large as asked for; anything else (for example a smaller
// object of the same name made by another program) is a failure to open:
// no handle, so no view and no access beyond its end. An empty object that
// nobody has in use is an unfinished creation and is completed.
//
// Difference from Windows: a view kept mapped after its handle was closed
// still works but no longer counts as a participant. The modules always
// unmap before they close.
#include "platform/shared_memory.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>

#include "platform/host_services.h"

struct SharedSection {
    int fd;
    size_t size;                  // the object's size when opened (as first created)
    char path[NAME_MAX + 2];      // "/" and the object name, for unlinking
};

namespace {

constexpr off_t IN_USE_BYTE = 0;
constexpr off_t SETUP_BYTE = 1;
constexpr int OPEN_ATTEMPTS = 16;

// Whether the last create found the section there already. Not thread-local:
// everything that creates sections runs on the host's one thread, and a
// module with thread-local storage that is unloaded and loaded again (a
// panel reload) leaves stale entries that the leak checker trips over.
bool last_create_existed = false;

bool lock_byte(int fd, short type, off_t byte, bool wait) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    for (;;) {
        if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0) return true;
        if (errno != EINTR) return false;
    }
}

// Closing a descriptor drops its locks only when no other descriptor
// refers to the same open file (a child forked meanwhile holds a copy), so
// they are dropped explicitly first.
void release_and_close(int fd) {
    lock_byte(fd, F_UNLCK, IN_USE_BYTE, false);
    lock_byte(fd, F_UNLCK, SETUP_BYTE, false);
    close(fd);
}

bool append(char* out, size_t capacity, size_t* length, char c) {
    if (*length + 1 >= capacity) return false;
    out[(*length)++] = c;
    out[*length] = '\0';
    return true;
}

bool append_escaped(char* out, size_t capacity, size_t* length, const char* text) {
    static const char hex[] = "0123456789ABCDEF";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        unsigned char c = *p;
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '_' || c == '-';
        if (plain) {
            if (!append(out, capacity, length, static_cast<char>(c))) return false;
        } else if (!append(out, capacity, length, '%') ||
                   !append(out, capacity, length, hex[c >> 4]) ||
                   !append(out, capacity, length, hex[c & 15])) {
            return false;
        }
    }
    return true;
}

// "/quillmar.<ns>.<name>"; false when the name is empty or too long.
bool object_path(const char* name_space, const char* name, char* out, size_t capacity) {
    if (!name || !*name) return false;
    size_t length = 0;
    out[0] = '\0';
    for (const char* p = "/quillmar."; *p; ++p)
        if (!append(out, capacity, &length, *p)) return false;
    if (name_space && *name_space) {
        if (!append_escaped(out, capacity, &length, name_space)) return false;
        if (!append(out, capacity, &length, '.')) return false;
    }
    if (!append_escaped(out, capacity, &length, name)) return false;
    return length - 1 <= NAME_MAX;
}

bool zero_fill(int fd, size_t size) {
    static const char zeros[256] = {};
    for (size_t done = 0; done < size;) {
        size_t chunk = size - done < sizeof zeros ? size - done : sizeof zeros;
        ssize_t n = pwrite(fd, zeros, chunk, static_cast<off_t>(done));
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Opens or creates the object behind `path` and joins it as a participant.
// Returns the descriptor and the object's size, or -1.
int join_object(const char* path, size_t size, size_t* object_size, bool* existed) {
    for (int attempt = 0; attempt < OPEN_ATTEMPTS; ++attempt) {
        bool created = true;
        int fd = shm_open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) {
            created = false;
            fd = shm_open(path, O_RDWR | O_CLOEXEC, 0);
            if (fd < 0 && errno == ENOENT) continue;   // its last participant just left
        }
        if (fd < 0) return -1;
        if (created) fchmod(fd, 0600);               // whatever the umask says

        if (!lock_byte(fd, F_WRLCK, SETUP_BYTE, true)) {
            close(fd);
            return -1;
        }
        struct stat st {};
        if (fstat(fd, &st) != 0) {
            release_and_close(fd);
            return -1;
        }
        if (st.st_nlink == 0) {                      // unlinked while we waited
            release_and_close(fd);
            continue;
        }
        bool ours = S_ISREG(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
        bool alone = ours && lock_byte(fd, F_WRLCK, IN_USE_BYTE, false);
        bool usable = false;
        *existed = false;
        if (!ours) {
            usable = false;
        } else if (st.st_size == 0) {
            // Fresh (or an unfinished creation): give it its size, zero-filled.
            usable = alone && ftruncate(fd, static_cast<off_t>(size)) == 0;
            *object_size = size;
        } else if (static_cast<size_t>(st.st_size) < size) {
            usable = false;                          // not made for us: never touch it
        } else {
            *object_size = static_cast<size_t>(st.st_size);
            // Nobody has it in use: left behind by a run that died. Start clean.
            usable = alone ? zero_fill(fd, *object_size) : true;
            *existed = !alone;
        }
        if (!usable || !lock_byte(fd, F_RDLCK, IN_USE_BYTE, false)) {
            if (created) shm_unlink(path);
            release_and_close(fd);
            return -1;
        }
        lock_byte(fd, F_UNLCK, SETUP_BYTE, false);
        return fd;
    }
    return -1;
}

// Views and their lengths, so that a view can be unmapped by its address.
struct View {
    void* address;
    size_t length;
};
constexpr int MAX_VIEWS = 256;
View views[MAX_VIEWS];
std::mutex views_mutex;

}  // namespace

SharedSection* shared_section_create_in(const char* name_space, const char* name, uint32_t size) {
    last_create_existed = false;
    char path[NAME_MAX + 2];
    if (size == 0 || !object_path(name_space, name, path, sizeof path)) return nullptr;
    SharedSection* section = new (std::nothrow) SharedSection{};
    if (!section) return nullptr;
    bool existed = false;
    section->fd = join_object(path, size, &section->size, &existed);
    if (section->fd < 0) {
        delete section;
        return nullptr;
    }
    std::memcpy(section->path, path, sizeof path);
    last_create_existed = existed;
    return section;
}

SharedSection* shared_section_create(const char* name, uint32_t size) {
    const PlatformHostServices* host = platform_host_services();
    return shared_section_create_in(host ? host->channel_namespace : nullptr, name, size);
}

bool shared_section_existed() { return last_create_existed; }

void* shared_section_map(SharedSection* section) {
    if (!section) return nullptr;
    std::lock_guard<std::mutex> guard(views_mutex);
    for (View& view : views) {
        if (view.address) continue;
        void* address =
            mmap(nullptr, section->size, PROT_READ | PROT_WRITE, MAP_SHARED, section->fd, 0);
        if (address == MAP_FAILED) return nullptr;
        view = View{address, section->size};
        return address;
    }
    return nullptr;                                  // too many views: no view
}

void shared_section_unmap(void* address) {
    if (!address) return;
    std::lock_guard<std::mutex> guard(views_mutex);
    for (View& view : views) {
        if (view.address != address) continue;
        munmap(view.address, view.length);
        view = View{};
        return;
    }
}

void shared_section_close(SharedSection* section) {
    if (!section) return;
    lock_byte(section->fd, F_WRLCK, SETUP_BYTE, true);
    // Converting our shared "in use" lock to an exclusive one succeeds only
    // when no other handle anywhere holds it: then this is the last one.
    if (lock_byte(section->fd, F_WRLCK, IN_USE_BYTE, false)) shm_unlink(section->path);
    release_and_close(section->fd);
    delete section;
}
