// SPDX-License-Identifier: MIT
#include <korvatel/data/GapBuffer.h>

#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

template <typename T>
std::vector<T> Contents(const TGapBuffer<T>& buffer) {
    std::vector<T> result;
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        result.push_back(buffer[i]);
    }
    return result;
}

} // namespace

TEST(GapBufferTest, RandomEditsMatchAPlainVector) {
    std::mt19937 random(12345);
    TGapBuffer<int> buffer;
    std::vector<int> reference;
    for (int step = 0; step < 20000; ++step) {
        const int action = static_cast<int>(random() % 10);
        if (action < 6 || reference.empty()) {
            // Insertions cluster near the previous place now and then, as frames do.
            const std::size_t position = random() % (reference.size() + 1);
            buffer.insert(position, step);
            reference.insert(reference.begin() + static_cast<std::ptrdiff_t>(position), step);
        } else if (action < 8) {
            const std::size_t position = random() % reference.size();
            buffer.erase(position);
            reference.erase(reference.begin() + static_cast<std::ptrdiff_t>(position));
        } else if (action < 9) {
            const std::size_t a = random() % reference.size();
            const std::size_t b = random() % reference.size();
            buffer.swap_elements(a, b);
            std::swap(reference[a], reference[b]);
        } else {
            buffer.rotate_left();
            if (reference.size() > 1) {
                std::rotate(reference.begin(), reference.begin() + 1, reference.end());
            }
        }
        if (step % 97 == 0) {
            ASSERT_EQ(Contents(buffer), reference) << step;
            // A piece copied out, wherever the gap lies: before, inside or after it.
            if (!reference.empty()) {
                const std::size_t start = random() % reference.size();
                const std::size_t count = random() % (reference.size() - start + 1);
                std::vector<int> piece(count + 1, -1);
                buffer.copy_out(start, count, piece.data());
                ASSERT_EQ(std::vector<int>(piece.begin(), piece.end() - 1),
                          std::vector<int>(reference.begin() + static_cast<std::ptrdiff_t>(start),
                                           reference.begin() +
                                               static_cast<std::ptrdiff_t>(start + count)))
                    << step;
                ASSERT_EQ(piece.back(), -1) << "wrote past the piece at step " << step;
            }
        }
        if (step % 5000 == 4999) {
            buffer.clear();
            reference.clear();
        }
    }
    ASSERT_EQ(Contents(buffer), reference);
}

TEST(GapBufferTest, OwnedElementsAreReleasedOnEraseAndClear) {
    auto counter = std::make_shared<int>(0);
    TGapBuffer<std::shared_ptr<int>> buffer;
    for (int i = 0; i < 50; ++i) {
        buffer.insert(static_cast<std::size_t>(i / 2), counter);
    }
    EXPECT_EQ(counter.use_count(), 51);
    buffer.erase(3);
    buffer.erase(0);
    EXPECT_EQ(counter.use_count(), 49);
    buffer.clear();
    EXPECT_EQ(counter.use_count(), 1);
    EXPECT_TRUE(buffer.empty());
    buffer.push_back(counter); // the kept storage is reused
    EXPECT_EQ(buffer.size(), 1u);
}

TEST(GapBufferTest, FillSetsEveryElement) {
    TGapBuffer<std::string> buffer;
    buffer.push_back("a");
    buffer.insert(0, "b");
    buffer.insert(1, "c");
    buffer.fill("x");
    EXPECT_EQ(Contents(buffer), (std::vector<std::string>{"x", "x", "x"}));
}
