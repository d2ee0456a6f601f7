#include "analyze/ProgressBar.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

// Short runs finish before a bar would be worth drawing.
constexpr std::chrono::milliseconds kFirstDrawDelay{300};
constexpr std::chrono::milliseconds kRedrawInterval{100};
constexpr int kDefaultWidth = 80;
constexpr int kBarWidth = 20;
constexpr int kPercent = 100;
// "[ 3/8] [bar] 100%  " and "  [bar] 100%" around the file name.
constexpr int kFixedWidth = 2 * (kBarWidth + 2) + 24;
constexpr const char* kClearLine = "\r\033[K";

int terminalWidth()
{
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return kDefaultWidth;
}

std::string bar(double fraction)
{
    const int filled = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * kBarWidth);
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "]";
}

std::string percent(double fraction)
{
    char text[8];
    std::snprintf(text, sizeof text, "%3d%%", static_cast<int>(std::clamp(fraction, 0.0, 1.0) * kPercent));
    return text;
}

} // namespace

ProgressBar::ProgressBar(std::size_t fileCount, bool drawn) : files(fileCount), enabled(drawn) {}

ProgressBar::~ProgressBar()
{
    if (!enabled)
        return;
    const std::lock_guard<std::mutex> guard(lock);
    clear();
}

void ProgressBar::started(std::size_t file, const std::string& name)
{
    if (!enabled)
        return;
    const std::lock_guard<std::mutex> guard(lock);
    active[file] = FileProgress{name, 0.0};
    drawIfDue();
}

void ProgressBar::advanced(std::size_t file, double fraction)
{
    if (!enabled)
        return;
    const std::lock_guard<std::mutex> guard(lock);
    active[file].fraction = fraction;
    drawIfDue();
}

void ProgressBar::finished(std::size_t file)
{
    if (!enabled)
        return;
    const std::lock_guard<std::mutex> guard(lock);
    active.erase(file);
    ++done;
    drawIfDue();
}

void ProgressBar::printAbove(const std::function<void()>& print)
{
    if (!enabled) {
        print();
        return;
    }
    const std::lock_guard<std::mutex> guard(lock);
    clear();
    print();
}

void ProgressBar::drawIfDue()
{
    const Clock::time_point now = Clock::now();
    if (now - start < kFirstDrawDelay || (shown && now - lastDraw < kRedrawInterval))
        return;
    lastDraw = now;
    draw();
}

void ProgressBar::draw()
{
    std::fputs((kClearLine + line(terminalWidth())).c_str(), stderr);
    std::fflush(stderr);
    shown = true;
}

void ProgressBar::clear()
{
    if (!shown)
        return;
    std::fputs(kClearLine, stderr);
    std::fflush(stderr);
    shown = false;
}

std::string ProgressBar::line(int width) const
{
    double sum = static_cast<double>(done);
    for (const auto& entry : active)
        sum += entry.second.fraction;
    const double overall = files > 0 ? sum / static_cast<double>(files) : 1.0;
    std::string text = "[" + std::to_string(done) + "/" + std::to_string(files) + "] " + bar(overall) + " " +
                       percent(overall);
    if (active.empty())
        return text;
    const FileProgress& oldest = active.begin()->second;
    const std::size_t room = static_cast<std::size_t>(std::max(0, width - kFixedWidth));
    std::string name = oldest.name.substr(oldest.name.size() > room ? oldest.name.size() - room : 0);
    return text + "  " + name + " " + bar(oldest.fraction) + " " + percent(oldest.fraction);
}
