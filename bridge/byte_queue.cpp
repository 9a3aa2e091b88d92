#include "bridge/byte_queue.h"

#include <algorithm>
#include <cstring>

namespace bridge {

std::size_t ByteQueue::Push(const std::uint8_t* data, std::size_t n) {
    std::lock_guard<std::mutex> guard(lock_);
    n = std::min(n, ring_.size() - size_);
    for (std::size_t done = 0; done < n;) {
        const std::size_t tail = (head_ + size_) % ring_.size();
        const std::size_t run = std::min(n - done, ring_.size() - tail);
        std::memcpy(ring_.data() + tail, data + done, run);
        done += run;
        size_ += run;
    }
    if (n)
        changed_.notify_all();
    return n;
}

bool ByteQueue::PushAll(const std::uint8_t* data, std::size_t n) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (n > ring_.size() - size_)
            return false;
    }
    // Only this queue's one producer pushes, so the room checked is still there.
    return Push(data, n) == n;
}

std::size_t ByteQueue::Pop(std::uint8_t* out, std::size_t max) {
    std::lock_guard<std::mutex> guard(lock_);
    const std::size_t n = std::min(max, size_);
    for (std::size_t done = 0; done < n;) {
        const std::size_t run = std::min(n - done, ring_.size() - head_);
        std::memcpy(out + done, ring_.data() + head_, run);
        done += run;
        head_ = (head_ + run) % ring_.size();
        size_ -= run;
    }
    if (n)
        changed_.notify_all();
    return n;
}

std::size_t ByteQueue::WaitFor(std::size_t n, std::chrono::steady_clock::time_point deadline) {
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait_until(guard, deadline, [&] { return closed_ || size_ >= n; });
    return size_;
}

void ByteQueue::Close() {
    std::lock_guard<std::mutex> guard(lock_);
    closed_ = true;
    changed_.notify_all();
}

std::size_t ByteQueue::Size() const {
    std::lock_guard<std::mutex> guard(lock_);
    return size_;
}

} // namespace bridge
