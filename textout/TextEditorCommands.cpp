#include "textout/TextEditorCommands.h"

#include "platform/EscapedText.h"
#include "store/FileWriter.h"
#include "textout/TextFile.h"
#include "textout/TextSchedule.h"

namespace ralvo::textout {

namespace {

constexpr qsizetype kMaxListedCharacters = 10;

// "「😀」(U+1F600)、「𠮷」(U+20BB7)", at most ten of them.
QString ListCharacters(const QString &characters)
{
    QStringList items;
    qsizetype count = 0;
    for (const char32_t codePoint : characters.toUcs4()) {
        if (++count > kMaxListedCharacters)
            continue;
        items.append(QStringLiteral("「%1」(U+%2)")
                         .arg(QString::fromUcs4(&codePoint, 1))
                         .arg(QString::number(uint(codePoint), 16).toUpper().rightJustified(4, u'0')));
    }
    QString list = items.join(QStringLiteral("、"));
    if (count > kMaxListedCharacters)
        list += QStringLiteral(" ほか%1文字").arg(count - kMaxListedCharacters);
    return list;
}

} // namespace

TextEditorCommands::TextEditorCommands(EditorDocument &document, const platform::Services &services)
    : m_document(document), m_services(services)
{}

QString TextEditorCommands::SaveQueryText() const
{
    return QStringLiteral("ﾌｧｲﾙ") + m_document.Caption()
           + QStringLiteral("の内容が変更されています。\n変更を保存しますか？");
}

TextEditorCommands::Continuation TextEditorCommands::QuerySave()
{
    if (!m_document.IsModified())
        return Continuation::GoOn;
    m_services.sounds->Exclamation();
    platform::Messages::Question question;
    question.caption = QStringLiteral("警告");
    question.text = SaveQueryText();
    question.icon = platform::Messages::Icon::Warning;
    question.buttons = platform::Messages::Buttons::YesNoCancel;
    question.defaultAnswer = platform::Messages::Answer::Yes;
    switch (m_services.messages->Ask(question)) {
    case platform::Messages::Answer::Yes:
        // The changes are only let go once they are safely written.
        return SaveAs() ? Continuation::GoOn : Continuation::Stop;
    case platform::Messages::Answer::No:
    case platform::Messages::Answer::Ok:
        return Continuation::GoOn;
    case platform::Messages::Answer::Cancel:
        break;
    }
    return Continuation::Stop;
}

void TextEditorCommands::New()
{
    if (QuerySave() == Continuation::Stop)
        return;
    m_document.SetCaption(NewDocumentCaption());
    m_document.SetText(QString());
    m_document.SetModified(false);
}

void TextEditorCommands::Open()
{
    if (QuerySave() == Continuation::Stop)
        return;
    platform::FileDialogs::Request request;
    request.title = QStringLiteral("開く");
    request.filter = TextFileFilter();
    request.filterIndex = 1;
    const std::optional<QString> path = m_services.fileDialogs->GetOpenFileName(request);
    if (!path)
        return;
    const std::optional<QString> text = ReadTextFile(*path);
    if (!text) {
        // Caption, text and modified flag stay: the caption never names a
        // file whose text is not shown.
        m_services.messages->ShowMessage(
            QStringLiteral("ファイル %1 は開けません").arg(platform::EscapeControlCharacters(*path)));
        return;
    }
    m_document.SetCaption(*path);
    m_document.SetText(*text);
    m_document.SetModified(false);
    m_document.SetReadOnly(false); // the dialog offers no read-only choice
}

bool TextEditorCommands::SaveAs()
{
    const std::optional<QString> path = AskSaveFileName();
    if (!path)
        return false;
    return SaveTo(*path);
}

std::optional<QString> TextEditorCommands::AskSaveFileName()
{
    platform::FileDialogs::Request request;
    request.title = QStringLiteral("名前を付けて保存");
    request.filter = TextFileFilter();
    request.filterIndex = 1;
    request.fileName = m_document.Caption() + QStringLiteral(".txt");
    request.defaultSuffix = QStringLiteral("txt");
    return m_services.fileDialogs->GetSaveFileName(request);
}

bool TextEditorCommands::SaveTo(const QString &path)
{
    const platform::ShiftJisBytes encoded = EncodeTextFile(EditorTextLines(m_document.Text()));
    if (!encoded.ok()) {
        m_services.messages->ShowMessage(
            QStringLiteral("次の文字はシフトJISのテキストファイルに保存できないため、ファイル %1 "
                           "は保存しませんでした。\n%2\nこれらの文字を消すか別の文字に置き換えてから"
                           "保存してください。")
                .arg(platform::EscapeControlCharacters(path), ListCharacters(encoded.unencodable)));
        return false;
    }
    if (!WriteFileBytes(path, encoded.bytes)) {
        m_services.messages->ShowMessage(store::CannotCreateFileMessage(path));
        return false;
    }
    m_document.SetModified(false);
    return true;
}

} // namespace ralvo::textout
