#pragma once

#include "TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A key that a tank file sets but the schema does not know, named "Group.key": its group is the
// schema group its section's header selects, or else that header's own name. Its value is the raw
// text after '=', quotes and all. The views point into the COtherKeys it comes from and stay good
// while those keys are unchanged.
struct COtherKey {
    int schemaGroup = -1;   // the schema group's index, or -1 for a group of the header's own
    std::string_view group; // the schema group's name, or the header's as first met
    std::string_view name;  // as the file first spells it
    std::string_view value; // empty when absent
    bool present = true;    // false once removed from the document
};

// Whether text is a name of letters, digits and '_' that does not start with a digit: only such
// keys and headers are other keys and their groups.
bool IsKeyName(std::string_view text);

// Why a raw value cannot be text, as a sentence without its full stop that follows "a raw value"
// ("cannot hold '[': the line would read as a group header"); empty when it can. Besides a '['
// and a line break, a "//" outside double quotes would read back as a comment.
std::string RawValueRefusal(std::string_view text);

// Whether a raw value of a document in encoding can take the character c from the user as it is
// typed: not '[' nor a line break, and one the encoding holds. (A "//" outside quotes is a matter
// of the whole text, which RawValueRefusal tells.)
bool RawValueCanTake(TextEncoding encoding, char32_t c);

// Why it cannot, as a sentence without its full stop: "A raw value cannot hold '['..." or
// "Windows-1252, the file's encoding, has no ...".
std::string WhyRawValueCannotTake(TextEncoding encoding, char32_t c);

// text as a raw value is stored and written: blanks and tabs at both ends left out, as they
// would be when the line is read again.
std::string_view TrimmedRawValue(std::string_view text);

// A tank file's other keys, in the order the file first sets them. A mod's set holds hundreds of
// templates, each with a few such keys, so they are kept packed in one block of bytes (about the
// room their lines take in the file) rather than as strings of their own; a key is found by a
// walk through them, which for the handful a file has costs less than any index would.
class COtherKeys {
public:
    std::size_t Size() const { return m_nCount; }
    bool Empty() const { return m_nCount == 0; }

    // The key at index (0 to Size() - 1), walking to it.
    COtherKey At(std::size_t index) const;
    // The position of the key group.name, both ignoring ASCII case; -1 when there is none.
    int Find(std::string_view group, std::string_view name) const;
    // Calls f(index, key) for each key in order.
    template <class F> void ForEach(F&& f) const {
        std::size_t at = 0;
        COtherKey key;
        for (std::size_t index = 0; index < m_nCount; ++index) {
            at = Next(at, key);
            f(index, key);
        }
    }

    // Adds a key after the others: of the schema group at schemaGroup, or, when that is -1, of
    // the group named group. The caller sees that no key is added twice.
    void Append(int schemaGroup, std::string_view group, std::string_view name,
                std::string_view value);
    // The key at index takes value, or, when present is false, is absent (removed).
    void SetValue(std::size_t index, std::string_view value, bool present = true);
    void Clear() {
        m_strData.clear();
        m_nCount = 0;
        m_nLastGroup = -2;
    }
    // Frees the room kept for more keys: keys read once are not added to.
    void Shrink() { m_strData.shrink_to_fit(); }

    bool operator==(const COtherKeys& other) const {
        return m_nCount == other.m_nCount && m_strData == other.m_strData;
    }

private:
    // Reads the key at byte at into key, whose group is taken from it when the record refers to
    // the group before; returns where the next one starts.
    std::size_t Next(std::size_t at, COtherKey& key) const;

    // Each key is a record: its group (a schema group's index; kSameGroup for the group of the key
    // before; kNamedGroup followed by the length and bytes of the header's name), the length and
    // bytes of its name, then its value's length plus one (0 for an absent key) and bytes.
    // Lengths are written seven bits a byte, so a short one takes one byte.
    std::string m_strData;
    std::uint32_t m_nCount = 0;
    // The group of the last key appended, so that the next key of the same group refers to it:
    // a schema group's index, -1 for a group of its own named at m_nLastGroupName, -2 for none.
    int m_nLastGroup = -2;
    std::size_t m_nLastGroupName = 0;
    std::size_t m_nLastGroupSize = 0;
};
