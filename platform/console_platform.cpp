#include "platform/console_platform.h"

#include <algorithm>
#include <ostream>

#include "platform/cp1253.h"

namespace tavro {
namespace {

// Draws "[#####.....] 3/10 path" over itself on one terminal line.
class TerminalProgress : public ProgressDisplay {
  public:
    explicit TerminalProgress(std::ostream& err) : m_err(err) {}
    ~TerminalProgress() override { m_err << "\r\033[K" << std::flush; }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void SetRange(std::int64_t low, std::int64_t high) override {
        m_low = low;
        m_high = std::max(high, low + 1);
    }
    void SetStep(std::int64_t step) override { m_step = step; }
    void SetPos(std::int64_t position) override {
        m_position = position;
        Draw();
    }
    void StepIt() override {
        m_position = std::min(m_position + m_step, m_high);
        Draw();
    }
    void SetFileName(const std::string& path) override {
        m_fileName = path;
        Draw();
    }

  private:
    void Draw() {
        constexpr std::int64_t kWidth = 30;
        const std::int64_t done = (m_position - m_low) * kWidth / (m_high - m_low);
        m_err << "\r\033[K[" << std::string(static_cast<std::size_t>(done), '#')
              << std::string(static_cast<std::size_t>(kWidth - done), '.') << "] "
              << (m_position - m_low) << '/' << (m_high - m_low) << ' ' << m_fileName << std::flush;
    }

    std::ostream& m_err;
    std::int64_t m_low = 0;
    std::int64_t m_high = 100;
    std::int64_t m_step = 10;
    std::int64_t m_position = 0;
    std::string m_fileName;
};

class SilentProgress : public ProgressDisplay {
  public:
    void SetRange(std::int64_t, std::int64_t) override {}
    void SetStep(std::int64_t) override {}
    void SetPos(std::int64_t) override {}
    void StepIt() override {}
    void SetFileName(const std::string&) override {}
};

}  // namespace

std::string ConsoleMessageText(const UserMessage& message) {
    std::string text = Cp1253ToUtf8(message.text) + message.path;
    if (text.empty() || text.back() != '\n') text += '\n';
    return text;
}

ConsolePlatform::ConsolePlatform(std::ostream& err, FileSystem& files, bool showProgress)
    : m_err(err), m_files(files), m_showProgress(showProgress) {}

void ConsolePlatform::ShowMessage(const UserMessage& message) {
    m_err << ConsoleMessageText(message) << std::flush;
}

std::unique_ptr<ProgressDisplay> ConsolePlatform::CreateProgressDialog() {
    if (m_showProgress) return std::make_unique<TerminalProgress>(m_err);
    return std::make_unique<SilentProgress>();
}

}  // namespace tavro
