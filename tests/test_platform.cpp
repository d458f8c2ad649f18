#include "tests/test_platform.h"

namespace tavro::testing {
namespace {

class RecordingProgress : public ProgressDisplay {
  public:
    RecordingProgress(std::vector<std::string>& log, int& keepAlives)
        : m_log(log), m_keepAlives(keepAlives) {}
    void SetRange(std::int64_t low, std::int64_t high) override {
        m_log.push_back("range " + std::to_string(low) + " " + std::to_string(high));
    }
    void SetStep(std::int64_t step) override { m_log.push_back("step " + std::to_string(step)); }
    void SetPos(std::int64_t position) override {
        m_log.push_back("pos " + std::to_string(position));
    }
    void StepIt() override { m_log.push_back("stepit"); }
    void SetFileName(const std::string& path) override { m_log.push_back("file " + path); }
    void ShowBytesRead(std::uint64_t, std::optional<std::uint64_t>) override { ++m_keepAlives; }

  private:
    std::vector<std::string>& m_log;
    int& m_keepAlives;
};

}  // namespace

std::unique_ptr<ProgressDisplay> TestPlatform::CreateProgressDialog() {
    ++progressDialogs;
    return std::make_unique<RecordingProgress>(progressLog, keepAlives);
}

}  // namespace tavro::testing
