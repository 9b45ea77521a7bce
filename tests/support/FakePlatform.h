#pragma once

// Test doubles for the platform services: preset answers, recorded messages,
// counted sounds, a fixed clock. Header-only so every test can use it.

#include "platform/Platform.h"

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace ralvo::test {

class FakeMessages final : public platform::Messages
{
public:
    std::vector<QString> shown;  // texts of plain boxes, in order
    std::vector<Question> asked; // questions, in order
    std::deque<Answer> answers;  // next answers; empty → defaultAnswer

    void ShowMessage(const QString &text) override { shown.push_back(text); }
    Answer Ask(const Question &question) override
    {
        asked.push_back(question);
        if (answers.empty())
            return question.defaultAnswer;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

class FakeSounds final : public platform::Sounds
{
public:
    int beeps = 0;
    int exclamations = 0;
    void Beep() override { ++beeps; }
    void Exclamation() override { ++exclamations; }
};

class FakeClock final : public platform::Clock
{
public:
    QDate today{2024, 3, 5};
    QDate Today() const override { return today; }
};

class FakeFileDialogs final : public platform::FileDialogs
{
public:
    std::deque<std::optional<QString>> answers; // empty → cancelled
    std::vector<Request> requests;

    std::optional<QString> GetOpenFileName(const Request &r) override { return Next(r); }
    std::optional<QString> GetSaveFileName(const Request &r) override { return Next(r); }
    std::optional<QString> GetPictureFileName(const Request &r) override { return Next(r); }

private:
    std::optional<QString> Next(const Request &r)
    {
        requests.push_back(r);
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

class FakeColorChooser final : public platform::ColorChooser
{
public:
    std::deque<std::optional<Colour>> answers; // empty → cancelled
    std::vector<Colour> initials;
    std::optional<Colour> ChooseColor(Colour initial) override
    {
        initials.push_back(initial);
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

class FakePrintDialogs final : public platform::PrintDialogs
{
public:
    bool acceptPrint = true;
    bool acceptSetup = true;
    int printDialogs = 0;
    int setupDialogs = 0;
    QStringList printers{QStringLiteral("TestPrinter")};
    bool ExecPrintDialog(QPrinter &) override
    {
        ++printDialogs;
        return acceptPrint;
    }
    bool ExecPrinterSetupDialog(QPrinter &) override
    {
        ++setupDialogs;
        return acceptSetup;
    }
    QStringList AvailablePrinters() const override { return printers; }
    QString DefaultPrinter() const override { return printers.isEmpty() ? QString() : printers.first(); }
};

class FakeHelp final : public platform::Help
{
public:
    QStringList topics;
    void ShowHelp(const QString &topic) override { topics.append(topic); }
};

class FakeProgress final : public platform::Progress
{
public:
    int cancelAt = -1;       // the step at which the user cancels; -1 never
    std::vector<int> totals; // of every Start
    std::vector<int> steps;  // every Advance, in order
    int finished = 0;
    std::function<void(int done)> onAdvance; // looks at the work half-way
    void Start(const QString &, const QString &, int total) override { totals.push_back(total); }
    bool Advance(int done) override
    {
        steps.push_back(done);
        if (onAdvance)
            onAdvance(done);
        return cancelAt < 0 || done < cancelAt;
    }
    void Finish() override { ++finished; }
};

// All fakes together, with Services pointing at them.
struct FakePlatform
{
    FakeMessages messages;
    FakeSounds sounds;
    FakeClock clock;
    FakeFileDialogs fileDialogs;
    FakeColorChooser colorChooser;
    FakePrintDialogs printDialogs;
    FakeHelp help;
    FakeProgress progress;

    platform::Services Services()
    {
        return platform::Services{&messages,     &sounds,       &clock, &fileDialogs,
                                  &colorChooser, &printDialogs, &help,  &progress};
    }
};

} // namespace ralvo::test
