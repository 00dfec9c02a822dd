#pragma once

#include "platform/MessageBoxes.h"

#include <QStringList>

#include <deque>
#include <vector>

// Answers the program's message boxes in a test and keeps what they showed.
// Boxes beyond the scripted answers get OK (or Cancel when they ask).
class ScriptedBoxes {
public:
    explicit ScriptedBoxes(std::deque<platform::BoxAnswer> answers = {}) : script(std::move(answers))
    {
        platform::SetBoxResponder([this](const platform::ShownBox &box) { return Answer(box); });
    }
    ~ScriptedBoxes() { platform::SetBoxResponder({}); }
    ScriptedBoxes(const ScriptedBoxes &) = delete;
    ScriptedBoxes &operator=(const ScriptedBoxes &) = delete;

    const std::vector<platform::ShownBox> &Shown() const { return shown; }
    QStringList Texts() const
    {
        QStringList texts;
        for (const auto &box : shown) texts << box.text;
        return texts;
    }

private:
    platform::BoxAnswer Answer(const platform::ShownBox &box)
    {
        shown.push_back(box);
        if (!script.empty()) {
            const auto answer = script.front();
            script.pop_front();
            return answer;
        }
        const bool asks = box.kind == platform::BoxKind::Confirm || box.kind == platform::BoxKind::Replace;
        return asks ? platform::BoxAnswer::Cancel : platform::BoxAnswer::Ok;
    }

    std::deque<platform::BoxAnswer> script;
    std::vector<platform::ShownBox> shown;
};
