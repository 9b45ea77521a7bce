#include "store/JsonReader.h"

#include <QStringDecoder>

#include <charconv>

using namespace Qt::StringLiterals;

namespace ralvo::store {

namespace {

constexpr int kMaxDepth = 200;

} // namespace

class JsonCursor::Reader
{
public:
    explicit Reader(QByteArrayView text) : m_text(text) {}

    std::optional<JsonNode> Document(QString *error)
    {
        SkipByteOrderMark();
        JsonNode node;
        SkipSpace();
        if (Value(node, 0)) {
            SkipSpace();
            if (m_at == m_text.size())
                return node;
            Fail(u"値の後に余分な文字があります"_s);
        }
        if (error)
            *error = Error();
        return std::nullopt;
    }

    // ---- piece by piece (JsonCursor) ----

    bool EnterObject()
    {
        SkipByteOrderMark();
        SkipSpace();
        if (Peek() != '{')
            return Fail(AtEnd() ? u"途中で終わっています"_s : u"オブジェクトがありません"_s);
        if (qsizetype(m_open.size()) > kMaxDepth)
            return Fail(u"入れ子が深すぎます"_s);
        ++m_at;
        m_open.push_back(true);
        return true;
    }

    bool NextMember(QString &name)
    {
        if (!m_why.isEmpty() || m_open.empty())
            return false;
        SkipSpace();
        if (m_open.back()) {
            m_open.back() = false;
            if (Peek() == '}')
                return CloseObject();
        } else if (Peek() == ',') {
            ++m_at;
            SkipSpace();
        } else if (Peek() == '}') {
            return CloseObject();
        } else {
            return Fail(AtEnd() ? u"途中で終わっています"_s : u"「,」か「}」がありません"_s);
        }
        name.clear();
        return MemberName(name);
    }

    bool ReadValue(JsonNode &node)
    {
        SkipByteOrderMark();
        SkipSpace();
        m_keepMembers = false;
        return Value(node, int(m_open.size()));
    }

    bool AtObject()
    {
        SkipSpace();
        return Peek() == '{';
    }

    bool AtDocumentEnd()
    {
        SkipSpace();
        if (m_why.isEmpty() && (!m_open.empty() || !AtEnd()))
            Fail(u"値の後に余分な文字があります"_s);
        return m_why.isEmpty();
    }

    bool Failed() const { return !m_why.isEmpty(); }
    QString Error() const { return u"JSON の誤り（%1 バイト目）: %2"_s.arg(m_failedAt + 1).arg(m_why); }

private:
    void SkipByteOrderMark()
    {
        if (m_at == 0 && m_text.startsWith(QByteArrayView("\xEF\xBB\xBF")))
            m_at = 3;
    }

    // A member's name and its ":", and the white space after it.
    bool MemberName(QString &name)
    {
        if (Peek() != '"')
            return Fail(AtEnd() ? u"途中で終わっています"_s : u"名前がありません"_s);
        if (!String(name))
            return false;
        SkipSpace();
        if (Peek() != ':')
            return Fail(u"「:」がありません"_s);
        ++m_at;
        SkipSpace();
        return true;
    }

    bool CloseObject()
    {
        ++m_at; // '}'
        m_open.pop_back();
        return false;
    }

    bool Fail(const QString &why)
    {
        if (m_why.isEmpty()) {
            m_why = why;
            m_failedAt = m_at;
        }
        return false;
    }

    bool AtEnd() const { return m_at >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_at]; }

    void SkipSpace()
    {
        while (!AtEnd()) {
            const char c = m_text[m_at];
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            ++m_at;
        }
    }

    bool Literal(QByteArrayView word)
    {
        if (m_text.sliced(m_at).startsWith(word)) {
            m_at += word.size();
            return true;
        }
        return Fail(u"不明な語があります"_s);
    }

    bool Value(JsonNode &node, int depth)
    {
        if (depth > kMaxDepth)
            return Fail(u"入れ子が深すぎます"_s);
        node.begin = m_at;
        bool ok = false;
        switch (Peek()) {
        case '{':
            node.type = JsonNode::Type::Object;
            ok = Object(node, depth);
            break;
        case '[':
            node.type = JsonNode::Type::Array;
            ok = Array(depth);
            break;
        case '"':
            node.type = JsonNode::Type::String;
            ok = String(node.string);
            break;
        case 't':
            node.type = JsonNode::Type::Boolean;
            node.boolean = true;
            ok = Literal("true");
            break;
        case 'f':
            node.type = JsonNode::Type::Boolean;
            ok = Literal("false");
            break;
        case 'n':
            node.type = JsonNode::Type::Null;
            ok = Literal("null");
            break;
        case '\0':
            if (AtEnd())
                return Fail(u"途中で終わっています"_s);
            return Fail(u"値がありません"_s);
        default:
            node.type = JsonNode::Type::Number;
            ok = Number(node);
            break;
        }
        node.end = m_at;
        return ok;
    }

    bool Object(JsonNode &node, int depth)
    {
        ++m_at; // '{'
        SkipSpace();
        if (Peek() == '}') {
            ++m_at;
            return true;
        }
        for (;;) {
            SkipSpace();
            JsonNode::Member member;
            if (!MemberName(member.name))
                return false;
            if (!Value(member.value, depth + 1))
                return false;
            if (m_keepMembers)
                node.members.push_back(std::move(member));
            SkipSpace();
            if (Peek() == ',') {
                ++m_at;
                continue;
            }
            if (Peek() == '}') {
                ++m_at;
                return true;
            }
            return Fail(AtEnd() ? u"途中で終わっています"_s : u"「,」か「}」がありません"_s);
        }
    }

    bool Array(int depth)
    {
        ++m_at; // '['
        SkipSpace();
        if (Peek() == ']') {
            ++m_at;
            return true;
        }
        for (;;) {
            SkipSpace();
            JsonNode element;
            if (!Value(element, depth + 1))
                return false;
            SkipSpace();
            if (Peek() == ',') {
                ++m_at;
                continue;
            }
            if (Peek() == ']') {
                ++m_at;
                return true;
            }
            return Fail(AtEnd() ? u"途中で終わっています"_s : u"「,」か「]」がありません"_s);
        }
    }

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    bool Digits()
    {
        if (!IsDigit(Peek()))
            return Fail(u"数が不正です"_s);
        while (IsDigit(Peek()))
            ++m_at;
        return true;
    }

    bool Number(JsonNode &node)
    {
        const qsizetype start = m_at;
        if (Peek() == '-')
            ++m_at;
        if (Peek() == '0')
            ++m_at;
        else if (!Digits())
            return false;
        if (Peek() == '.') {
            ++m_at;
            if (!Digits())
                return false;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_at;
            if (Peek() == '+' || Peek() == '-')
                ++m_at;
            if (!Digits())
                return false;
        }
        const char *first = m_text.data() + start;
        const char *last = m_text.data() + m_at;
        const auto [ptr, ec] = std::from_chars(first, last, node.number);
        if (ec == std::errc::result_out_of_range) {
            node.numberInRange = false;
            node.number = 0;
        } else if (ec != std::errc() || ptr != last) {
            return Fail(u"数が不正です"_s);
        }
        return true;
    }

    static int HexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    bool AppendRun(QString &out, qsizetype from)
    {
        if (from == m_at)
            return true;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        out += decoder.decode(m_text.sliced(from, m_at - from));
        if (decoder.hasError()) {
            m_at = from;
            return Fail(u"UTF-8 として正しくない文字があります"_s);
        }
        return true;
    }

    bool String(QString &out)
    {
        ++m_at; // '"'
        qsizetype run = m_at;
        for (;;) {
            if (AtEnd())
                return Fail(u"文字列が閉じていません"_s);
            const unsigned char c = static_cast<unsigned char>(m_text[m_at]);
            if (c == '"') {
                if (!AppendRun(out, run))
                    return false;
                ++m_at;
                return true;
            }
            if (c < 0x20)
                return Fail(u"文字列に制御文字があります"_s);
            if (c != '\\') {
                ++m_at;
                continue;
            }
            if (!AppendRun(out, run))
                return false;
            ++m_at;
            if (AtEnd())
                return Fail(u"文字列が閉じていません"_s);
            const char escaped = m_text[m_at++];
            switch (escaped) {
            case '"':
                out += u'"';
                break;
            case '\\':
                out += u'\\';
                break;
            case '/':
                out += u'/';
                break;
            case 'b':
                out += u'\b';
                break;
            case 'f':
                out += u'\f';
                break;
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            case 'u': {
                if (m_text.size() - m_at < 4)
                    return Fail(u"\\u の後に 16 進数字が 4 つありません"_s);
                char16_t unit = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = HexValue(m_text[m_at + i]);
                    if (digit < 0)
                        return Fail(u"\\u の後に 16 進数字が 4 つありません"_s);
                    unit = char16_t(unit * 16 + digit);
                }
                m_at += 4;
                out += QChar(unit);
                break;
            }
            default:
                --m_at;
                return Fail(u"不明なエスケープがあります"_s);
            }
            run = m_at;
        }
    }

    QByteArrayView m_text;
    qsizetype m_at = 0;
    QString m_why;
    qsizetype m_failedAt = 0;
    bool m_keepMembers = true; // objects keep their members (ReadJson), or are only checked (JsonCursor)
    std::vector<bool> m_open;  // JsonCursor: the objects entered, true until their first member
};

std::optional<JsonNode> ReadJson(QByteArrayView text, QString *error)
{
    return JsonCursor::Reader(text).Document(error);
}

JsonCursor::JsonCursor(QByteArrayView text) : m_reader(std::make_unique<Reader>(text)) {}

JsonCursor::~JsonCursor() = default;

bool JsonCursor::EnterObject() { return m_reader->EnterObject(); }

bool JsonCursor::NextMember(QString &name) { return m_reader->NextMember(name); }

bool JsonCursor::ReadValue(JsonNode &node) { return m_reader->ReadValue(node); }

bool JsonCursor::AtObject() { return m_reader->AtObject(); }

bool JsonCursor::AtDocumentEnd() { return m_reader->AtDocumentEnd(); }

bool JsonCursor::failed() const { return m_reader->Failed(); }

QString JsonCursor::error() const { return m_reader->Error(); }

QByteArray JsonQuoted(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        switch (u) {
        case u'"':
            out += u"\\\"";
            continue;
        case u'\\':
            out += u"\\\\";
            continue;
        case u'\b':
            out += u"\\b";
            continue;
        case u'\f':
            out += u"\\f";
            continue;
        case u'\n':
            out += u"\\n";
            continue;
        case u'\r':
            out += u"\\r";
            continue;
        case u'\t':
            out += u"\\t";
            continue;
        default:
            break;
        }
        const bool pairedHigh = c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate();
        if (u < 0x20 || (c.isSurrogate() && !pairedHigh)) {
            out += u"\\u"_s + QString::number(u, 16).rightJustified(4, u'0');
            continue;
        }
        out += c;
        if (pairedHigh)
            out += text.at(++i);
    }
    out += u'"';
    return out.toUtf8();
}

} // namespace ralvo::store
