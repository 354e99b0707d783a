// A greedy encoder. At each target position it weighs the copies that could
// start there: reading on in the source at the same offset; copying from the
// source where the index finds the next eight bytes; copying what is already
// written from the latest literal byte whose eight bytes hash alike (so a run
// of one value is one literal byte and a copy from one byte back). Each copy
// is extended forwards as far as it matches, and backwards into the literal
// bytes not yet sent, and is worth the bytes it spares minus its action
// number and cursor move, both BPS numbers. The best is taken if it is worth
// two bytes or more: one for the TargetRead that may have to start again
// after it, one to gain. Otherwise the byte is sent literally.

#include "formats/BpsEncoder.h"

#include "formats/Bps.h"
#include "formats/BpsMatchIndex.h"

#include <algorithm>
#include <bit>

namespace varnel::bps {
namespace {

// Every fourth source position is indexed, for a quarter of the memory and
// time that all would take: a copy of eleven bytes or more has an indexed
// window among its first four positions; a shorter one is missed now and
// then, for a few bytes lost.
constexpr std::size_t sourceStride = 4;
// In data that repeats itself a window can occur thousands of times; the
// latest few are as likely as any to match far.
constexpr std::size_t candidatesPerPosition = 16;
constexpr std::ptrdiff_t leastSaving = 2;
// The latest literal byte is remembered for up to 65,536 hashes, fewer for a
// small target; new data in a patch is rarely more.
constexpr unsigned mostLiteralBits = 16;

std::uint64_t actionNumber(Action action, std::size_t length) {
    return std::uint64_t{length - 1} << 2 | action;
}

// A cursor's move as BPS stores it: twice the distance, plus one going backwards.
std::uint64_t moveNumber(std::size_t cursor, std::size_t to) {
    return to >= cursor ? std::uint64_t{to - cursor} << 1 : std::uint64_t{cursor - to} << 1 | 1;
}

struct Copy {
    Action action = SourceRead;
    std::size_t start = 0;   // in the target
    std::size_t from = 0;    // in the source, or in the target for TargetCopy
    std::size_t length = 0;  // 0: no copy
};

class Encoder {
public:
    Encoder(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
            std::vector<std::uint8_t>& patch)
        : source_(source), target_(target), patch_(patch), sourceIndex_(source, sourceStride),
          literalBucketBits_(std::clamp(static_cast<unsigned>(std::bit_width(target.size())), 1U, mostLiteralBits)),
          latestLiterals_(std::size_t{1} << literalBucketBits_) {}

    void run() {
        while (position_ < target_.size()) {
            const Copy copy = bestCopy();
            if (copy.length > 0) {
                put(copy);
                continue;
            }
            if (target_.size() - position_ >= windowSize) {
                latestLiterals_[literalBucket(position_)] = static_cast<std::uint32_t>(position_ + 1);
            }
            ++position_;
        }
        putLiterals(target_.size());
    }

private:
    Copy bestCopy() {
        best_ = {};
        bestSaving_ = leastSaving - 1;
        consider({SourceRead, position_, position_});
        if (target_.size() - position_ >= windowSize) {
            const std::uint8_t* window = &target_[position_];
            sourceIndex_.forEachCandidate(window, candidatesPerPosition,
                                          [&](std::size_t from) { consider({SourceCopy, position_, from}); });
            if (const std::uint32_t literal = latestLiterals_[literalBucket(position_)]; literal != 0) {
                consider({TargetCopy, position_, literal - std::size_t{1}});
            }
        }
        return best_;
    }

    // Extends the copy as far as it matches both ways and keeps it if it spares
    // more than the best so far.
    void consider(Copy copy) {
        const auto base = copy.action == TargetCopy ? target_ : source_;
        if (copy.from >= base.size()) return;
        // A TargetCopy reads what it has just written; comparing with the target as it will be reads the same.
        const std::size_t most = std::min(target_.size() - copy.start, base.size() - copy.from);
        const auto forward = target_.begin() + static_cast<std::ptrdiff_t>(copy.start);
        copy.length = static_cast<std::size_t>(
            std::mismatch(forward, forward + static_cast<std::ptrdiff_t>(most),
                          base.begin() + static_cast<std::ptrdiff_t>(copy.from)).first - forward);
        while (copy.start > literalStart_ && copy.from > 0 && target_[copy.start - 1] == base[copy.from - 1]) {
            --copy.start;
            --copy.from;
            ++copy.length;
        }
        if (copy.length == 0) return;
        std::size_t cost = numberSize(actionNumber(copy.action, copy.length));
        if (copy.action != SourceRead) cost += numberSize(moveNumber(cursor(copy.action), copy.from));
        const auto saving = static_cast<std::ptrdiff_t>(copy.length) - static_cast<std::ptrdiff_t>(cost);
        if (saving > bestSaving_) {
            best_ = copy;
            bestSaving_ = saving;
        }
    }

    void put(const Copy& copy) {
        putLiterals(copy.start);
        encodeNumber(actionNumber(copy.action, copy.length), patch_);
        if (copy.action != SourceRead) {
            std::size_t& moved = cursor(copy.action);
            encodeNumber(moveNumber(moved, copy.from), patch_);
            moved = copy.from + copy.length;
        }
        position_ = literalStart_ = copy.start + copy.length;
    }

    void putLiterals(std::size_t end) {
        if (end == literalStart_) return;
        encodeNumber(actionNumber(TargetRead, end - literalStart_), patch_);
        patch_.insert(patch_.end(), target_.begin() + static_cast<std::ptrdiff_t>(literalStart_),
                      target_.begin() + static_cast<std::ptrdiff_t>(end));
    }

    std::size_t& cursor(Action action) { return action == SourceCopy ? sourceCursor_ : targetCursor_; }

    std::size_t literalBucket(std::size_t position) const {
        return static_cast<std::size_t>(windowHash(&target_[position]) >> (64 - literalBucketBits_));
    }

    std::span<const std::uint8_t> source_;
    std::span<const std::uint8_t> target_;
    std::vector<std::uint8_t>& patch_;
    const BpsMatchIndex sourceIndex_;
    const unsigned literalBucketBits_;
    // By hash of the window, the latest position + 1 sent or about to be sent literally.
    std::vector<std::uint32_t> latestLiterals_;
    std::size_t position_ = 0;      // the first target byte not yet decided
    std::size_t literalStart_ = 0;  // the first of the literal bytes not yet put
    std::size_t sourceCursor_ = 0;
    std::size_t targetCursor_ = 0;
    Copy best_;
    std::ptrdiff_t bestSaving_ = 0;
};

}  // namespace

void encodeActions(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                   std::vector<std::uint8_t>& patch) {
    Encoder(source, target, patch).run();
}

}  // namespace varnel::bps
