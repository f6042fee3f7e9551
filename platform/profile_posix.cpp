// The settings file reader and writer of the Linux build.
//
// Reading follows the Win32 private profile functions:
// - The path is taken relative to the current folder; '\' separates
//   folders like '/'. A path without a folder part stays in the current
//   folder (Windows would look in its own folder, which does not exist here).
// - Lines end at '\n'; a '\r' before it is a blank like ' ', so CRLF and LF
//   files read alike. A last line without a newline counts. A UTF-8 byte
//   order mark at the start of the file is skipped.
// - A line whose first non-blank character is '[' and which has a ']' after
//   it opens a section; the name is what lies between '[' and the last ']',
//   without surrounding blanks. A line whose first non-blank character is
//   ';' is a comment. Any other line holding '=' is a key: the name is the
//   text before the first '=', the value the text after it, both without
//   surrounding blanks (space, tab, CR, VT, FF). Lines of any other form are
//   kept in the file but never found.
// - Section and key names match without regard to ASCII case. Only the
//   first section of a name counts: keys of a later section of the same
//   name are not seen. Within it the first key of a name wins.
// - One pair of double quotes around the whole value is removed, then the
//   value is cut to the buffer. A NUL byte in the file ends the value there
//   (the caller gets a C string). The default loses trailing spaces; it is
//   not unquoted.
//
// Writing keeps every byte of the file that it does not change:
// - An existing key has only its value text replaced; the rest of the line,
//   its line end and every other line stay as they were. Writing the value
//   the key already holds leaves the file untouched.
// - A new key goes after the last key of its section (right after the
//   section line when the section has none). A new section goes at the end
//   of the file. New lines end with CRLF, as Windows writes them; a last
//   line that had no line end gets one first.
// - A NULL value removes the key's line, a NULL key the section from its
//   section line to the next one. Removing what is not there succeeds and
//   does not create the file.
// - Names lose surrounding blanks, the value its leading blanks. A name or
//   value holding a line break, an empty name, and a key name that holds '='
//   or starts with '[' or ';' cannot be stored as one line of this format
//   and are refused (Windows would store them and corrupt the lines that
//   follow).
// - The new content is written to a temporary file in the same folder and
//   renamed over the old file, so that a process that dies at any moment
//   leaves either the old file or the new one, never a part of either. The
//   file keeps its permission bits. A file that exists but cannot be read
//   is never replaced, so a failed read cannot lose its keys.
#include "platform/profile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Larger files are treated as unreadable: reads give defaults and writes
// fail, so the file is never replaced.
constexpr size_t PROFILE_MAX_BYTES = size_t{64} << 20;

struct Span {
    const char* p;
    size_t n;
};

enum LineKind { LINE_BLANK, LINE_COMMENT, LINE_SECTION, LINE_KEY, LINE_OTHER };

struct Line {
    size_t start;      // first byte of the line
    size_t end;        // end of the line's text, before '\n'
    size_t next;       // first byte of the following line
    LineKind kind;
    Span name;         // section or key name
    size_t value_at;   // offset of the key's value (LINE_KEY)
    size_t value_n;
};

struct FileText {
    char* data;
    size_t size;
    size_t first;      // after the byte order mark
    bool exists;
    mode_t mode;
};

enum LoadResult { LOAD_OK, LOAD_MISSING, LOAD_FAILED };

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

Span trim(const char* b, const char* e) {
    while (b < e && is_blank(*b)) ++b;
    while (e > b && is_blank(e[-1])) --e;
    return Span{b, size_t(e - b)};
}

Span trim(const char* text) { return trim(text, text + std::strlen(text)); }

bool same_name(Span a, Span b) {
    if (a.n != b.n) return false;
    for (size_t i = 0; i < a.n; ++i)
        if (lower(a.p[i]) != lower(b.p[i])) return false;
    return true;
}

bool holds_line_break(Span s) {
    for (size_t i = 0; i < s.n; ++i)
        if (s.p[i] == '\n' || s.p[i] == '\r') return true;
    return false;
}

// The part of a span before its first NUL byte.
Span c_string_part(Span s) {
    const void* nul = std::memchr(s.p, 0, s.n);
    return nul ? Span{s.p, size_t(static_cast<const char*>(nul) - s.p)} : s;
}

// Reads the line that starts at `pos`; false at the end of the text.
bool read_line(const FileText& f, size_t pos, Line* line) {
    if (pos >= f.size) return false;
    const char* base = f.data;
    const void* nl = std::memchr(base + pos, '\n', f.size - pos);
    size_t end = nl ? size_t(static_cast<const char*>(nl) - base) : f.size;
    *line = Line{pos, end, nl ? end + 1 : end, LINE_OTHER, Span{nullptr, 0}, 0, 0};

    Span text = trim(base + pos, base + end);
    if (text.n == 0) {
        line->kind = LINE_BLANK;
        return true;
    }
    if (text.p[0] == '[') {
        for (size_t i = text.n - 1; i > 0; --i) {
            if (text.p[i] == ']') {
                line->kind = LINE_SECTION;
                line->name = trim(text.p + 1, text.p + i);
                return true;
            }
        }
    }
    if (text.p[0] == ';') {
        line->kind = LINE_COMMENT;
        return true;
    }
    const void* eq = std::memchr(text.p, '=', text.n);
    if (!eq) return true;
    const char* value_start = static_cast<const char*>(eq) + 1;
    line->kind = LINE_KEY;
    line->name = trim(text.p, static_cast<const char*>(eq));
    Span value = trim(value_start, text.p + text.n);
    line->value_at = size_t(value.p - base);
    line->value_n = value.n;
    return true;
}

// The first section of the name: its section line, and where its body ends
// (the next section line or the end of the text).
struct SectionPlace {
    bool found;
    Line header;
    size_t end;
};

SectionPlace find_section(const FileText& f, Span name) {
    SectionPlace place{false, {}, f.size};
    Line line;
    for (size_t pos = f.first; read_line(f, pos, &line); pos = line.next) {
        if (line.kind != LINE_SECTION) continue;
        if (place.found) {
            place.end = line.start;
            break;
        }
        if (same_name(line.name, name)) {
            place.found = true;
            place.header = line;
        }
    }
    return place;
}

// The first key of the name in the section; with `last_key` set to the last
// key line of the section (or its section line when it has no keys).
bool find_key(const FileText& f, const SectionPlace& section, Span name, Line* key,
              Line* last_key) {
    if (last_key) *last_key = section.header;
    Line line;
    for (size_t pos = section.header.next; pos < section.end && read_line(f, pos, &line);
         pos = line.next) {
        if (line.kind != LINE_KEY) continue;
        if (last_key) *last_key = line;
        if (same_name(line.name, name)) {
            *key = line;
            return true;
        }
    }
    return false;
}

uint32_t copy_out(char* buffer, uint32_t size, Span text) {
    size_t n = text.n < size - 1 ? text.n : size - 1;
    std::memcpy(buffer, text.p, n);
    buffer[n] = '\0';
    return uint32_t(n);
}

// A list of names, each terminated, ended by a second terminator. A name
// that does not fit is cut so that both terminators fit, and the list ends.
// A list that fills the buffer exactly is reported as cut too (size - 2), so
// that a caller can tell a full buffer by the count alone.
struct NameList {
    char* buffer;
    uint32_t size;
    uint32_t room;     // characters left before the final terminator
    bool cut;
};

void list_add(NameList* list, Span name) {
    if (list->cut) return;
    name = c_string_part(name);
    char* at = list->buffer + (list->size - 1 - list->room);
    if (name.n + 1 >= list->room) {
        std::memcpy(at, name.p, list->room - 1);
        at[list->room - 1] = '\0';
        list->room = 0;
        list->cut = true;
        return;
    }
    std::memcpy(at, name.p, name.n);
    at[name.n] = '\0';
    list->room -= uint32_t(name.n + 1);
}

uint32_t list_end(NameList* list) {
    if (list->cut) {
        list->buffer[list->size - 1] = '\0';
        return list->size - 2;
    }
    uint32_t used = list->size - 1 - list->room;
    list->buffer[used] = '\0';
    return used;
}

// Turns the Windows-style path into a POSIX one.
bool local_path(const char* path, char* out, size_t size) {
    size_t n = std::strlen(path);
    if (n == 0 || n >= size) return false;
    for (size_t i = 0; i < n; ++i) out[i] = path[i] == '\\' ? '/' : path[i];
    out[n] = '\0';
    return true;
}

LoadResult load_file(const char* path, FileText* f) {
    *f = FileText{nullptr, 0, 0, false, 0};
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return (errno == ENOENT || errno == ENOTDIR) ? LOAD_MISSING : LOAD_FAILED;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || size_t(st.st_size) > PROFILE_MAX_BYTES) {
        close(fd);
        return LOAD_FAILED;
    }
    f->exists = true;
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
            if (f->size >= 3 && std::memcmp(f->data, "\xEF\xBB\xBF", 3) == 0) f->first = 3;
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

// The new content: the old text with [cut_from, cut_to) replaced by the
// pieces, in order.
struct Edit {
    size_t cut_from;
    size_t cut_to;
    Span pieces[8];
    int count;
};

void add_piece(Edit* edit, Span s) { edit->pieces[edit->count++] = s; }
void add_piece(Edit* edit, const char* s) { add_piece(edit, Span{s, std::strlen(s)}); }

// Writes the edited text to a new file beside `path` and renames it over
// `path`. On any failure the temporary file is removed and `path` is
// untouched.
bool replace_file(const char* path, const FileText& f, const Edit& edit) {
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

    bool ok = write_all(fd, f.data, edit.cut_from);
    for (int i = 0; ok && i < edit.count; ++i) ok = write_all(fd, edit.pieces[i].p, edit.pieces[i].n);
    ok = ok && write_all(fd, f.data + edit.cut_to, f.size - edit.cut_to);
    if (ok && f.exists) ok = fchmod(fd, f.mode) == 0;
    if (close(fd) != 0) ok = false;
    if (ok) ok = rename(temp, path) == 0;
    if (!ok) unlink(temp);
    return ok;
}

// Plans the change; `nothing_to_do` when the file already says what the
// write would say.
void plan_write(const FileText& f, Span section, const char* key, Span key_name, const char* value,
                Span value_text, Edit* edit, bool* nothing_to_do) {
    *nothing_to_do = false;
    edit->count = 0;
    SectionPlace place = find_section(f, section);
    Line found{}, last_key{};
    bool has_key = place.found && key && find_key(f, place, key_name, &found, &last_key);

    if (!key || !value) {                       // removal
        if (!place.found || (key && !has_key)) {
            *nothing_to_do = true;
            return;
        }
        edit->cut_from = key ? found.start : place.header.start;
        edit->cut_to = key ? found.next : place.end;
        return;
    }
    if (has_key) {
        if (found.value_n == value_text.n &&
            std::memcmp(f.data + found.value_at, value_text.p, value_text.n) == 0) {
            *nothing_to_do = true;
            return;
        }
        edit->cut_from = found.value_at;
        edit->cut_to = found.value_at + found.value_n;
        add_piece(edit, value_text);
        return;
    }
    if (place.found) {
        bool ended = last_key.next > last_key.end;
        edit->cut_from = edit->cut_to = last_key.next;
        if (!ended) add_piece(edit, "\r\n");
    } else {
        edit->cut_from = edit->cut_to = f.size;
        if (f.size > f.first && f.data[f.size - 1] != '\n') add_piece(edit, "\r\n");
        add_piece(edit, "[");
        add_piece(edit, section);
        add_piece(edit, "]\r\n");
    }
    add_piece(edit, key_name);
    add_piece(edit, "=");
    add_piece(edit, value_text);
    add_piece(edit, "\r\n");
}

}  // namespace

uint32_t profile_read(const char* section, const char* key, const char* default_text,
                      char* buffer, uint32_t size, const char* path) {
    if (!buffer || size == 0) return 0;
    if (!default_text) default_text = "";
    Span fallback{default_text, std::strlen(default_text)};
    while (fallback.n > 0 && fallback.p[fallback.n - 1] == ' ') --fallback.n;

    char local[PATH_MAX];
    FileText f{nullptr, 0, 0, false, 0};
    bool loaded = path && local_path(path, local, sizeof local) && load_file(local, &f) == LOAD_OK;
    uint32_t result = 0;
    bool use_default = true;

    if (loaded && size >= 2 && !section) {
        NameList list{buffer, size, size - 1, false};
        Line line;
        for (size_t pos = f.first; read_line(f, pos, &line); pos = line.next)
            if (line.kind == LINE_SECTION && line.name.n > 0) list_add(&list, line.name);
        result = list_end(&list);
        use_default = false;
    } else if (loaded && size >= 2 && !key) {
        SectionPlace place = find_section(f, trim(section));
        if (place.found) {
            NameList list{buffer, size, size - 1, false};
            Line line;
            for (size_t pos = place.header.next; pos < place.end && read_line(f, pos, &line);
                 pos = line.next)
                if (line.kind == LINE_KEY && line.name.n > 0) list_add(&list, line.name);
            result = list_end(&list);
            use_default = buffer[0] == '\0';
        }
    } else if (loaded && section && key) {
        Span section_name = trim(section), key_name = trim(key);
        SectionPlace place = section_name.n > 0 ? find_section(f, section_name) : SectionPlace{};
        Line line;
        if (place.found && key_name.n > 0 && find_key(f, place, key_name, &line, nullptr)) {
            Span value{f.data + line.value_at, line.value_n};
            if (value.n >= 2 && value.p[0] == '"' && value.p[value.n - 1] == '"')
                value = Span{value.p + 1, value.n - 2};
            result = copy_out(buffer, size, c_string_part(value));
            use_default = false;
        }
    }
    std::free(f.data);
    return use_default ? copy_out(buffer, size, fallback) : result;
}

bool profile_write(const char* section, const char* key, const char* value, const char* path) {
    if (!section || !path) return false;
    Span section_name = trim(section);
    if (section_name.n == 0 || holds_line_break(section_name)) return false;
    Span key_name{nullptr, 0}, value_text{nullptr, 0};
    if (key) {
        key_name = trim(key);
        if (key_name.n == 0 || holds_line_break(key_name) ||
            std::memchr(key_name.p, '=', key_name.n) || key_name.p[0] == '[' ||
            key_name.p[0] == ';')
            return false;
    }
    if (key && value) {
        while (is_blank(*value)) ++value;
        value_text = Span{value, std::strlen(value)};
        if (holds_line_break(value_text)) return false;
    }

    char local[PATH_MAX], target[PATH_MAX];
    if (!local_path(path, local, sizeof local)) return false;
    // Through a symbolic link the file it points at is replaced, not the link.
    const char* file = realpath(local, target) ? target : local;

    FileText f;
    LoadResult loaded = load_file(file, &f);
    if (loaded == LOAD_FAILED) return false;
    if (loaded == LOAD_MISSING && (!key || !value)) return true;

    Edit edit;
    bool nothing_to_do = false;
    plan_write(f, section_name, key, key_name, value, value_text, &edit, &nothing_to_do);
    bool ok = nothing_to_do || replace_file(file, f, edit);
    std::free(f.data);
    return ok;
}
