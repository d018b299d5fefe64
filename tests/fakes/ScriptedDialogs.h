// Message boxes answered from a queue the test fills, recording what was asked.
#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace halvika::test {

class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        std::string caption;
        std::string text;
        int style;
        /// Shown with showNotice: nothing waited for it.
        bool notice = false;
    };

    void setNextAnswer(int answer) { m_answers.push_back(answer); }
    /// Runs while the box is "on screen", e.g. to fire a timer tick meanwhile.
    void setWhileShown(std::function<void()> action) { m_whileShown = std::move(action); }

    int messageBox(const std::string& caption, const std::string& text, int style) override {
        m_shown.push_back({caption, text, style});
        if (m_whileShown) {
            m_whileShown();
        }
        if (m_answers.empty()) {
            return answerOk;
        }
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    /// Recorded, without an answer or the while-shown action: nobody waits for a notice.
    void showNotice(const std::string& caption, const std::string& text, int style) override {
        m_shown.push_back({caption, text, style, true});
    }

    const std::vector<Shown>& shown() const { return m_shown; }

    /// A file dialog answered from a queue of paths ("" cancels), recording where it started and its filter.
    struct FileRequest {
        std::string start;
        std::string filter;
    };
    void setNextFile(std::string path) { m_files.push_back(std::move(path)); }
    const std::vector<FileRequest>& fileRequests() const { return m_fileRequests; }

    std::vector<std::string> chooseFilesToOpen(const std::string& folder, const std::string& filter, bool) override {
        const std::string file = nextFile(folder, filter);
        return file.empty() ? std::vector<std::string>{} : std::vector<std::string>{file};
    }
    std::string chooseFileToSave(const std::string& proposed, const std::string& filter) override {
        return nextFile(proposed, filter);
    }
    std::string chooseFolder(const std::string& start) override { return nextFile(start, ""); }

    /// Text questions answered from a queue (nothing queued cancels), recording prompt and proposal.
    void setNextText(std::optional<std::string> answer) { m_texts.push_back(std::move(answer)); }
    struct TextRequest {
        std::string prompt;
        std::string proposed;
    };
    const std::vector<TextRequest>& textRequests() const { return m_textRequests; }
    std::optional<std::string> askText(const std::string&, const std::string& prompt,
                                       const std::string& proposed) override {
        m_textRequests.push_back({prompt, proposed});
        if (m_texts.empty()) {
            return std::nullopt;
        }
        auto answer = std::move(m_texts.front());
        m_texts.pop_front();
        return answer;
    }

private:
    std::string nextFile(const std::string& start, const std::string& filter) {
        m_fileRequests.push_back({start, filter});
        if (m_files.empty()) {
            return "";
        }
        std::string file = std::move(m_files.front());
        m_files.pop_front();
        return file;
    }

    std::deque<int> m_answers;
    std::deque<std::string> m_files;
    std::deque<std::optional<std::string>> m_texts;
    std::vector<TextRequest> m_textRequests;
    std::vector<FileRequest> m_fileRequests;
    std::vector<Shown> m_shown;
    std::function<void()> m_whileShown;
};

} // namespace halvika::test
