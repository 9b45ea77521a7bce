#pragma once

// A strict JSON reader (RFC 8259, UTF-8) for the settings store. Unlike
// QJsonDocument it keeps object members in the order found and every
// duplicate, remembers where each value lies in the text, reads in time
// proportional to the text, and reads a number that no double can hold
// (1e400) as a number out of range instead of failing the whole text.

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace ralvo::store {

struct JsonNode
{
    enum class Type { Null, Boolean, Number, String, Array, Object };
    struct Member;

    Type type = Type::Null;
    bool boolean = false;         // Boolean
    double number = 0;            // Number, when numberInRange
    bool numberInRange = true;    // Number
    QString string;               // String
    std::vector<Member> members;  // Object, in the order found
    qsizetype begin = 0, end = 0; // the value's text: [begin, end)
};

struct JsonNode::Member
{
    QString name;
    JsonNode value;
};

// The value that makes up all of `text` (surrounding white space and a
// leading byte-order mark allowed); empty with a Japanese reason when the
// text is not JSON. Nesting deeper than 200 is refused.
std::optional<JsonNode> ReadJson(QByteArrayView text, QString *error = nullptr);

// The same text read piece by piece, so that a large document is never held
// as a tree: objects are entered and their members named one at a time,
// strings and numbers read, and any other value (a nested object, an
// array) checked whole and given only as its type and text range, without
// its members. The same rules, depth limit and reasons as ReadJson.
class JsonCursor
{
public:
    explicit JsonCursor(QByteArrayView text);
    ~JsonCursor();
    JsonCursor(const JsonCursor &) = delete;
    JsonCursor &operator=(const JsonCursor &) = delete;

    // Enters the object that comes next (at the start: after a byte-order
    // mark and white space). False, failed(), when something else comes.
    bool EnterObject();
    // In the object entered last: true with the next member's name (its ":"
    // read); false at the object's end (left) or on an error (failed()).
    bool NextMember(QString &name);
    // The member's value: read, or checked and given as its range.
    bool ReadValue(JsonNode &node);
    // Whether the value that comes next is an object (to enter).
    bool AtObject();
    // True when every object is left and only white space remains.
    bool AtDocumentEnd();

    bool failed() const;
    // Why the text is not JSON, in ReadJson's words, with the byte.
    QString error() const;

    class Reader; // the reader itself (JsonReader.cpp)

private:
    std::unique_ptr<Reader> m_reader;
};

// `text` as a JSON string literal, quotes included (UTF-8; control
// characters and unpaired surrogates escaped).
QByteArray JsonQuoted(const QString &text);

} // namespace ralvo::store
