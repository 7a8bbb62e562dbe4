// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <optional>
#include <string>

// Answers for the name dialogs to come, in order: a name's bytes for OK, or
// nullopt for Cancel. With none left, a dialog ends with OK and its preset.
class CScriptedAnswers {
public:
    void AddName(std::string name) { m_answers.emplace_back(std::move(name)); }
    void AddCancel() { m_answers.emplace_back(std::nullopt); }

    // Ends one dialog preset with name: true for OK, with name set to the answer.
    bool Answer(std::string& name)
    {
        if (m_answers.empty())
            return true;
        std::optional<std::string> answer = std::move(m_answers.front());
        m_answers.pop_front();
        if (!answer)
            return false;
        name = std::move(*answer);
        return true;
    }

private:
    std::deque<std::optional<std::string>> m_answers;
};
