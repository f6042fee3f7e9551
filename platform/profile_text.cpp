// The settings file format, read and written the way the Win32 private
// profile functions do it.
//
// Text:
// - Lines end at '\n'; a '\r' before it is a blank like ' ', so CRLF and LF
//   files read alike. A last line without a newline counts.
// - A UTF-8 byte order mark at the start of the file is skipped. A file that
//   starts with the UTF-16LE byte order mark (what a Windows editor's
//   "Unicode" save makes) is UTF-16LE text: it is read as such and written
//   back in UTF-16LE, never with 8-bit text appended. Its characters beyond
//   ASCII come back in UTF-8, the Linux build's character set.
//
// Reading:
// - A line whose first non-blank character is '[' and which has a ']' after
//   it opens a section; the name is what lies between '[' and the last ']',
//   without surrounding blanks. A line whose first non-blank character is
//   ';' is a comment.
// - Any other line that is not blank is a key. With an '=', the name is the
//   text before the first '=' and the value the text after it, both without
//   surrounding blanks (space, tab, CR, VT, FF). Without one, the whole line
//   is the name of a key that has no value: reading it gives the default,
//   and, being the first key of its name, it hides a later line of the same
//   name, as on Windows.
// - Section and key names match without regard to ASCII case. Only the
//   first section of a name counts: keys of a later section of the same
//   name are not seen. Within it the first key of a name wins.
// - The list of section names names every section line with a name,
//   duplicates too; a missing file gives an empty list. The list of a
//   section's key names names every key that has a value, duplicates and
//   empty names too. Here the section name must match as it is given, blanks
//   and all. A missing section, or a list that starts with an empty name,
//   gives the default instead, as on Windows.
// - One pair of double or single quotes around the whole value is removed,
//   then the value is cut to the buffer. A NUL byte in the file ends the
//   value there (the caller gets a C string). The default loses trailing
//   spaces, then one pair of quotes like a value.
//
// Writing keeps every byte of the file that it does not change:
// - An existing key has only its value text replaced; the rest of the line,
//   its line end and every other line stay as they were. A key without a
//   value gets "=" and the value after its name. Writing the value the key
//   already holds leaves the file untouched.
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
#include "platform/profile_text.h"

#include <cstdlib>
#include <cstring>

namespace {

struct Span {
    const char* p;
    size_t n;
};

enum LineKind { LINE_BLANK, LINE_COMMENT, LINE_SECTION, LINE_KEY };

struct Line {
    size_t start;      // first byte of the line
    size_t end;        // end of the line's text, before '\n'
    size_t next;       // first byte of the following line
    LineKind kind;
    Span name;         // section or key name
    bool has_value;    // a key line holding '='
    size_t value_at;   // offset of the key's value; for a key without one, the end of its name
    size_t value_n;
};

enum Encoding { ENCODING_8BIT, ENCODING_UTF16LE };

// The file as text: its own bytes, or its UTF-16 turned into UTF-8.
struct FileText {
    const char* data;
    size_t size;
    size_t first;        // after a UTF-8 byte order mark
    bool exists;
    Encoding encoding;
    bool odd_byte;       // UTF-16 with a lone last byte, kept as it was
    char last_byte;
    char* decoded;       // owned copy for UTF-16 files
};

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

// ------------------------------------------------------------ UTF-16 files

// Appends the UTF-8 form of `code` (a lone surrogate too, so that every
// UTF-16 text comes back unchanged when encoded again).
size_t put_utf8(char* out, uint32_t code) {
    if (code < 0x80) {
        out[0] = char(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = char(0xC0 | (code >> 6));
        out[1] = char(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = char(0xE0 | (code >> 12));
        out[1] = char(0x80 | ((code >> 6) & 0x3F));
        out[2] = char(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (code >> 18));
    out[1] = char(0x80 | ((code >> 12) & 0x3F));
    out[2] = char(0x80 | ((code >> 6) & 0x3F));
    out[3] = char(0x80 | (code & 0x3F));
    return 4;
}

bool decode_utf16(const unsigned char* bytes, size_t size, FileText* f) {
    size_t units = size / 2;
    char* out = static_cast<char*>(std::malloc(units * 3 + 1));
    if (!out) return false;
    size_t n = 0;
    for (size_t i = 0; i < units; ++i) {
        uint32_t unit = bytes[2 * i] | (uint32_t(bytes[2 * i + 1]) << 8);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
            uint32_t low = bytes[2 * i + 2] | (uint32_t(bytes[2 * i + 3]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                n += put_utf8(out + n, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        n += put_utf8(out + n, unit);
    }
    f->decoded = out;
    f->data = out;
    f->size = n;
    f->odd_byte = size % 2 != 0;
    f->last_byte = f->odd_byte ? char(bytes[size - 1]) : 0;
    return true;
}

// The length of the UTF-8 sequence at `p` (at most `left` bytes) and its
// code, or 0 when the bytes there are not one; such bytes are taken as
// Latin-1 characters, one each.
size_t read_utf8(const unsigned char* p, size_t left, uint32_t* code) {
    auto follows = [&](size_t k) { return k < left && (p[k] & 0xC0) == 0x80; };
    if (p[0] >= 0xC2 && p[0] < 0xE0 && follows(1)) {
        *code = (uint32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (p[0] >= 0xE0 && p[0] < 0xF0 && follows(1) && follows(2)) {
        *code = (uint32_t(p[0] & 0x0F) << 12) | (uint32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return *code >= 0x800 ? 3 : 0;
    }
    if (p[0] >= 0xF0 && p[0] < 0xF5 && follows(1) && follows(2) && follows(3)) {
        *code = (uint32_t(p[0] & 0x07) << 18) | (uint32_t(p[1] & 0x3F) << 12) |
                (uint32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        return *code >= 0x10000 && *code < 0x110000 ? 4 : 0;
    }
    return 0;
}

// UTF-16LE of a text: at most two bytes for each byte of it.
size_t put_utf16(const char* text, size_t size, unsigned char* out) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    size_t n = 0;
    auto unit = [&](uint32_t u) {
        out[n++] = uint8_t(u & 0xFF);
        out[n++] = uint8_t(u >> 8);
    };
    for (size_t i = 0; i < size;) {
        uint32_t code = p[i];
        size_t length = p[i] < 0x80 ? 1 : read_utf8(p + i, size - i, &code);
        if (length == 0) {
            code = p[i];
            length = 1;
        }
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
        i += length;
    }
    return n;
}

// ------------------------------------------------------------ lines and places

bool open_text(const char* bytes, size_t size, FileText* f) {
    *f = FileText{nullptr, 0, 0, false, ENCODING_8BIT, false, 0, nullptr};
    if (!bytes) return true;
    f->exists = true;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        f->encoding = ENCODING_UTF16LE;
        return decode_utf16(b + 2, size - 2, f);
    }
    f->data = bytes;
    f->size = size;
    if (size >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) f->first = 3;
    return true;
}

void close_text(FileText* f) {
    std::free(f->decoded);
    f->decoded = nullptr;
}

// Reads the line that starts at `pos`; false at the end of the text.
bool read_line(const FileText& f, size_t pos, Line* line) {
    if (pos >= f.size) return false;
    const char* base = f.data;
    const void* nl = std::memchr(base + pos, '\n', f.size - pos);
    size_t end = nl ? size_t(static_cast<const char*>(nl) - base) : f.size;
    *line = Line{pos, end, nl ? end + 1 : end, LINE_BLANK, Span{nullptr, 0}, false, 0, 0};

    Span text = trim(base + pos, base + end);
    if (text.n == 0) return true;
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
    line->kind = LINE_KEY;
    const void* eq = std::memchr(text.p, '=', text.n);
    if (!eq) {
        line->name = text;
        line->value_at = size_t(text.p + text.n - base);
        return true;
    }
    line->has_value = true;
    line->name = trim(text.p, static_cast<const char*>(eq));
    Span value = trim(static_cast<const char*>(eq) + 1, text.p + text.n);
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
    if (used == 0) list->buffer[1] = '\0';   // an empty list is its two terminators
    return used;
}

bool is_quote(char c) { return c == '"' || c == '\''; }

// Without one pair of the same quotes around the whole text.
Span unquoted(Span s) {
    if (s.n >= 2 && is_quote(s.p[0]) && s.p[s.n - 1] == s.p[0]) return Span{s.p + 1, s.n - 2};
    return s;
}

// ------------------------------------------------------------ writing

// The new text: the old one with [cut_from, cut_to) replaced by the pieces,
// in order.
struct Edit {
    size_t cut_from;
    size_t cut_to;
    Span pieces[8];
    int count;
};

void add_piece(Edit* edit, Span s) { edit->pieces[edit->count++] = s; }
void add_piece(Edit* edit, const char* s) { add_piece(edit, Span{s, std::strlen(s)}); }

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
    if (has_key && !found.has_value) {
        edit->cut_from = edit->cut_to = found.value_at;
        add_piece(edit, "=");
        add_piece(edit, value_text);
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

// The whole new file: the edited text, in the file's own encoding.
bool build_file(const FileText& f, const Edit& edit, char** out, size_t* out_size) {
    size_t text_size = edit.cut_from + (f.size - edit.cut_to);
    for (int i = 0; i < edit.count; ++i) text_size += edit.pieces[i].n;
    char* text = static_cast<char*>(std::malloc(text_size + 1));
    if (!text) return false;
    size_t n = 0;
    auto append = [&](const char* p, size_t count) {   // a missing file has no bytes at all
        if (count > 0) std::memcpy(text + n, p, count);
        n += count;
    };
    append(f.data, edit.cut_from);
    for (int i = 0; i < edit.count; ++i) append(edit.pieces[i].p, edit.pieces[i].n);
    append(f.data ? f.data + edit.cut_to : nullptr, f.size - edit.cut_to);
    if (f.encoding == ENCODING_8BIT) {
        *out = text;
        *out_size = n;
        return true;
    }
    unsigned char* wide = static_cast<unsigned char*>(std::malloc(2 + 2 * n + 1));
    if (!wide) {
        std::free(text);
        return false;
    }
    wide[0] = 0xFF;
    wide[1] = 0xFE;
    size_t wide_size = 2 + put_utf16(text, n, wide + 2);
    if (f.odd_byte) wide[wide_size++] = static_cast<unsigned char>(f.last_byte);
    std::free(text);
    *out = reinterpret_cast<char*>(wide);
    *out_size = wide_size;
    return true;
}

}  // namespace

uint32_t profile_text_read(const char* bytes, size_t size, const char* section, const char* key,
                           const char* default_text, char* buffer, uint32_t buffer_size) {
    if (!buffer || buffer_size == 0) return 0;
    if (!default_text) default_text = "";
    Span fallback{default_text, std::strlen(default_text)};
    while (fallback.n > 0 && fallback.p[fallback.n - 1] == ' ') --fallback.n;
    fallback = unquoted(fallback);

    FileText f;
    bool loaded = open_text(bytes, size, &f) && f.exists;
    uint32_t result = 0;
    bool use_default = true;

    if (buffer_size >= 2 && !section) {
        NameList list{buffer, buffer_size, buffer_size - 1, false};
        Line line;
        for (size_t pos = f.first; read_line(f, pos, &line); pos = line.next)
            if (line.kind == LINE_SECTION && line.name.n > 0) list_add(&list, line.name);
        result = list_end(&list);
        use_default = false;
    } else if (loaded && buffer_size >= 2 && !key) {
        SectionPlace place = find_section(f, Span{section, std::strlen(section)});
        if (place.found) {
            NameList list{buffer, buffer_size, buffer_size - 1, false};
            Line line;
            for (size_t pos = place.header.next; pos < place.end && read_line(f, pos, &line);
                 pos = line.next)
                if (line.kind == LINE_KEY && line.has_value) list_add(&list, line.name);
            result = list_end(&list);
            use_default = buffer[0] == '\0';
        }
    } else if (loaded && section && key) {
        Span section_name = trim(section), key_name = trim(key);
        SectionPlace place = section_name.n > 0 ? find_section(f, section_name) : SectionPlace{};
        Line line;
        if (place.found && key_name.n > 0 && find_key(f, place, key_name, &line, nullptr) &&
            line.has_value) {
            Span value = unquoted(Span{f.data + line.value_at, line.value_n});
            result = copy_out(buffer, buffer_size, c_string_part(value));
            use_default = false;
        }
    }
    close_text(&f);
    return use_default ? copy_out(buffer, buffer_size, fallback) : result;
}

ProfileTextWrite profile_text_write(const char* bytes, size_t size, const char* section,
                                    const char* key, const char* value, char** out,
                                    size_t* out_size) {
    *out = nullptr;
    *out_size = 0;
    if (!section) return PROFILE_TEXT_REFUSED;
    Span section_name = trim(section);
    if (section_name.n == 0 || holds_line_break(section_name)) return PROFILE_TEXT_REFUSED;
    Span key_name{nullptr, 0}, value_text{nullptr, 0};
    if (key) {
        key_name = trim(key);
        if (key_name.n == 0 || holds_line_break(key_name) ||
            std::memchr(key_name.p, '=', key_name.n) || key_name.p[0] == '[' ||
            key_name.p[0] == ';')
            return PROFILE_TEXT_REFUSED;
    }
    if (key && value) {
        while (is_blank(*value)) ++value;
        value_text = Span{value, std::strlen(value)};
        if (holds_line_break(value_text)) return PROFILE_TEXT_REFUSED;
    }
    if (!bytes && (!key || !value)) return PROFILE_TEXT_SAME;

    FileText f;
    if (!open_text(bytes, size, &f)) return PROFILE_TEXT_REFUSED;
    Edit edit;
    bool nothing_to_do = false;
    plan_write(f, section_name, key, key_name, value, value_text, &edit, &nothing_to_do);
    ProfileTextWrite result = PROFILE_TEXT_SAME;
    if (!nothing_to_do)
        result = build_file(f, edit, out, out_size) ? PROFILE_TEXT_CHANGED : PROFILE_TEXT_REFUSED;
    close_text(&f);
    return result;
}
