// A bounded first-in first-out byte buffer shared by two threads: the receive buffer a port's
// reader thread fills, and the send queue its writer thread drains. Platform-neutral.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace bridge {

class ByteQueue {
public:
    explicit ByteQueue(std::size_t capacity) : ring_(capacity) {}
    // Appends as much as fits; returns how much that was.
    std::size_t Push(const std::uint8_t* data, std::size_t n);
    // Appends all n bytes, or none when they do not fit.
    bool PushAll(const std::uint8_t* data, std::size_t n);
    // Takes up to max bytes, oldest first, without waiting.
    std::size_t Pop(std::uint8_t* out, std::size_t max);
    // Waits until at least n bytes wait, the queue is closed or the deadline passed; returns the size.
    std::size_t WaitFor(std::size_t n, std::chrono::steady_clock::time_point deadline);
    // Wakes every waiter for good.
    void Close();
    std::size_t Size() const;
    std::size_t Capacity() const { return ring_.size(); }

private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::uint8_t> ring_;
    std::size_t head_ = 0, size_ = 0;
    bool closed_ = false;
};

} // namespace bridge
