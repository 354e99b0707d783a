#include "web/EditHistory.h"

#include <algorithm>
#include <stdexcept>

namespace varnel::web {

std::uint64_t ImageStep::footprint() const {
    std::uint64_t bytes = sizeof(ImageStep);
    for (const ChangedRange& range : ranges) bytes += sizeof(ChangedRange) + range.before.size() + range.after.size();
    return bytes;
}

ImageStep stepBetween(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after) {
    ImageStep step{{}, before.size(), after.size()};
    const std::size_t common = std::min(before.size(), after.size());
    std::size_t at = 0;
    while (at < common) {
        if (before[at] == after[at]) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        while (at < common && before[at] != after[at]) ++at;
        step.ranges.push_back({start, {before.begin() + start, before.begin() + at}, {after.begin() + start, after.begin() + at}});
    }
    if (before.size() != after.size()) {
        step.ranges.push_back({common, {before.begin() + common, before.end()}, {after.begin() + common, after.end()}});
    }
    return step;
}

void applyStep(std::vector<std::uint8_t>& bytes, const ImageStep& step, StepDirection direction) {
    const bool back = direction == StepDirection::Back;
    bytes.resize(back ? step.lengthBefore : step.lengthAfter);
    for (const ChangedRange& range : step.ranges) {
        const std::vector<std::uint8_t>& wanted = back ? range.before : range.after;
        std::copy(wanted.begin(), wanted.end(), bytes.begin() + static_cast<std::ptrdiff_t>(range.offset));
    }
}

bool EditHistory::add(ImageStep step) {
    for (std::size_t k = done_; k < steps_.size(); ++k) footprint_ -= steps_[k].footprint();
    steps_.resize(done_);
    if (savedAt_ > position()) savedReachable_ = false;
    footprint_ += step.footprint();
    steps_.push_back(std::move(step));
    ++done_;
    std::size_t oldest = 0;
    while (footprint_ > historyLimit && oldest + 1 < steps_.size()) footprint_ -= steps_[oldest++].footprint();
    if (oldest == 0) return false;
    steps_.erase(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(oldest));
    done_ -= oldest;
    dropped_ += oldest;
    droppedAny_ = true;
    return true;
}

const ImageStep& EditHistory::undo() {
    if (!canUndo()) throw std::logic_error("nothing to undo");
    return steps_[--done_];
}

const ImageStep& EditHistory::redo() {
    if (!canRedo()) throw std::logic_error("nothing to redo");
    return steps_[done_++];
}

void EditHistory::markSaved() {
    savedAt_ = position();
    savedReachable_ = true;
}

}  // namespace varnel::web
