#pragma once

// The text editor's file commands and their save query, apart from the
// window: they work on what the window shows through EditorDocument and talk
// to the user only through the platform services.

#include "platform/Platform.h"

#include <QString>

#include <optional>

namespace ralvo::textout {

// What the file commands see of the editor window.
class EditorDocument
{
public:
    virtual ~EditorDocument() = default;

    virtual QString Text() const = 0; // lines separated by "\n"
    virtual void SetText(const QString &text) = 0;
    virtual bool IsModified() const = 0;
    virtual void SetModified(bool modified) = 0;
    virtual QString Caption() const = 0;
    virtual void SetCaption(const QString &caption) = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
};

// Caption of the text after New.
inline QString NewDocumentCaption() { return QStringLiteral("新規文書"); }
// Filter of the open and save dialogs.
inline QString TextFileFilter() { return QStringLiteral("テキストファイル|*.txt|すべてのファイル|*.*"); }

class TextEditorCommands
{
public:
    // Whether the command that ran the save query goes on.
    enum class Continuation { GoOn, Stop };

    TextEditorCommands(EditorDocument &document, const platform::Services &services);

    // Asked before New, Open and closing when the text is modified. Cancel,
    // and Yes followed by a save that did not happen, stop the caller with
    // text and modified flag as they were.
    Continuation QuerySave();

    void New();
    void Open();
    // True when the text was written.
    bool SaveAs();

    // The question of the save query for the current caption.
    QString SaveQueryText() const;

private:
    std::optional<QString> AskSaveFileName();
    bool SaveTo(const QString &path);

    EditorDocument &m_document;
    platform::Services m_services;
};

} // namespace ralvo::textout
