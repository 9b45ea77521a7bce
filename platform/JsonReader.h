#pragma once

// A strict JSON reader (RFC 8259, UTF-8) for the settings store. Unlike
// QJsonDocument it keeps object members in the order found and every
// duplicate, remembers where each value lies in the text, reads in time
// proportional to the text, and reads a number that no double can hold
// (1e400) as a number out of range instead of failing the whole text.

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace ralvo::platform {

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

// `text` as a JSON string literal, quotes included (UTF-8; control
// characters and unpaired surrogates escaped).
QByteArray JsonQuoted(const QString &text);

} // namespace ralvo::platform
