// Dialogs that answer from a script, so window tests never block on a modal box.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "gui/shared/dialogs.h"
#include "support/scripted_prompt.h"

namespace verdel::test {

class TScriptedDialogs : public TDialogs {
public:
    TScriptedDialogs() { SetDialogs(this); }
    ~TScriptedDialogs() override { SetDialogs(nullptr); }

    void Message(const std::string& Text) override { Messages.push_back(Text); }
    TAnswer Confirm(const std::string& Text, bool WithCancel) override
    {
        Questions.push_back(Text);
        (void)WithCancel;
        if (Answers.empty()) return TAnswer::Cancel;
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void BeginBusy(const std::string& StatusText) override
    {
        ++BusyDepth;
        ShowStatus(QString::fromStdString(StatusText));
        if (OnBusy) OnBusy();
    }
    void EndBusy() override { --BusyDepth; }

    QString OpenFileName(QWidget*, const QString& Folder, const QString& Filter) override
    {
        OpenFolders.push_back(Folder);
        OpenFilters.push_back(Filter);
        return Next(FileNames);
    }
    QString SaveFileName(QWidget*, const QString& Folder, const QString& Proposed, const QStringList& Filters,
                         int& FilterIndex) override
    {
        SaveFolders.push_back(Folder);
        SaveProposals.push_back(Proposed);
        SaveFilters = Filters;
        if (!FilterChoices.empty()) {
            FilterIndex = FilterChoices.front();
            FilterChoices.pop_front();
        }
        return Next(FileNames);
    }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override
    {
        if (Colors.empty()) return std::nullopt;
        const QColor colour = Colors.front();
        Colors.pop_front();
        return colour;
    }
    void Error(const std::string& Text) override { Errors.push_back(Text); }

    std::deque<TAnswer> Answers;   // Cancel when the script runs out
    std::deque<QString> FileNames; // chosen names; an empty one cancels
    std::deque<int> FilterChoices; // filters chosen in save dialogs
    std::deque<QColor> Colors;
    std::vector<std::string> Messages;
    std::vector<std::string> Questions;
    std::vector<std::string> Errors;
    std::vector<QString> OpenFolders, OpenFilters, SaveFolders, SaveProposals;
    QStringList SaveFilters;
    std::function<void()> OnBusy; // what the user does when a busy phase begins
    int BusyDepth = 0;

private:
    static QString Next(std::deque<QString>& names)
    {
        if (names.empty()) return {};
        const QString name = names.front();
        names.pop_front();
        return name;
    }
};

} // namespace verdel::test
