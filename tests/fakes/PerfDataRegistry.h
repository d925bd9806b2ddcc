// A registry that answers only what the processor-usage counters ask: the query of value "238"
// on HKEY_PERFORMANCE_DATA (from a set block, with ERROR_MORE_DATA until the caller's buffer
// reaches a set size) and the 9x statistics keys under HKEY_DYN_DATA. Records what it was asked.
// Answering the performance-data query never allocates.
#pragma once

#include "platform/Registry.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace quelmo::fakes {

class PerfDataRegistry final : public platform::Registry {
public:
    static constexpr platform::RegKey kPerformanceData{0x80000004};
    static constexpr platform::RegKey kDynData{0x80000006};

    PerfDataRegistry() { requestedSizes_.reserve(kHistory); }

    platform::RegKey RootKey(platform::RegRoot root) override {
        switch (root) {
        case platform::RegRoot::PerformanceData:
            return kPerformanceData;
        case platform::RegRoot::DynData:
            return kDynData;
        default:
            return platform::RegKey{0x80000002};
        }
    }
    platform::RegStatus OpenKey(platform::RegKey parent, std::wstring_view path, platform::RegAccess,
                                platform::RegKey& key) override {
        const std::lock_guard lock(mutex_);
        const std::wstring name(path);
        log_.push_back(L"open " + name);
        if (parent != kDynData || !dynKeys_.contains(name)) {
            return platform::kErrorFileNotFound;
        }
        key = platform::RegKey{nextKey_++};
        open_[key.value] = name;
        return platform::kErrorSuccess;
    }
    platform::RegStatus CreateKey(platform::RegKey, std::wstring_view, platform::RegAccess,
                                  platform::RegKey&) override {
        return platform::kErrorAccessDenied;
    }
    void CloseKey(platform::RegKey key) override {
        const std::lock_guard lock(mutex_);
        const auto it = open_.find(key.value);
        if (it != open_.end()) {
            log_.push_back(L"close " + it->second);
            open_.erase(it);
        } else if (key == kPerformanceData) {
            ++performanceDataCloses_;
        }
    }
    platform::RegStatus QueryValue(platform::RegKey key, std::wstring_view name, platform::RegType& type,
                                   std::span<std::byte> buffer, std::uint32_t& size) override {
        const std::lock_guard lock(mutex_);
        if (key == kPerformanceData) {
            ++queries_;
            if (requestedSizes_.size() < kHistory) {
                requestedSizes_.push_back(size);
            }
            if (name != L"238") {
                return platform::kErrorFileNotFound;
            }
            if (status_ != platform::kErrorSuccess) {
                return status_;
            }
            if (std::max(block_.size(), requiredSize_) > buffer.size()) {
                return platform::kErrorMoreData;
            }
            std::copy(block_.begin(), block_.end(), buffer.begin());
            size = static_cast<std::uint32_t>(block_.size());
            type = platform::RegType::Binary;
            return platform::kErrorSuccess;
        }
        const auto it = open_.find(key.value);
        log_.push_back(L"query " + std::wstring(name) + L" in " + (it != open_.end() ? it->second : L"?"));
        if (it == open_.end() || name != L"KERNEL\\CPUUsage" || buffer.size() < 4) {
            return platform::kErrorFileNotFound;
        }
        std::memcpy(buffer.data(), &cpuUsage9x_, 4);
        size = 4;
        type = platform::RegType::Binary;
        return platform::kErrorSuccess;
    }
    platform::RegStatus SetValue(platform::RegKey, std::wstring_view, platform::RegType,
                                 std::span<const std::byte>) override {
        return platform::kErrorAccessDenied;
    }
    platform::RegStatus DeleteValue(platform::RegKey, std::wstring_view) override {
        return platform::kErrorAccessDenied;
    }
    std::wstring ErrorText(platform::RegStatus status) override {
        return L"error " + std::to_wstring(status);
    }

    // The answer to the next queries of "238".
    void SetBlock(std::vector<std::byte> block) {
        const std::lock_guard lock(mutex_);
        block_ = std::move(block);
    }
    // ERROR_MORE_DATA until the caller's buffer holds `size` bytes.
    void RequireSize(std::size_t size) {
        const std::lock_guard lock(mutex_);
        requiredSize_ = size;
    }
    // Every query of "238" answers `status` (kErrorSuccess restores normal answers).
    void FailQueries(platform::RegStatus status) {
        const std::lock_guard lock(mutex_);
        status_ = status;
    }
    // The 9x keys under HKEY_DYN_DATA that exist, and the kernel's percentage.
    void AddDynKey(const std::wstring& path) {
        const std::lock_guard lock(mutex_);
        dynKeys_.insert(path);
    }
    void SetCpuUsage9x(std::uint32_t percent) {
        const std::lock_guard lock(mutex_);
        cpuUsage9x_ = percent;
    }

    std::size_t Queries() const {
        const std::lock_guard lock(mutex_);
        return queries_;
    }
    // The buffer size of each query of "238" (the first kHistory).
    std::vector<std::uint32_t> RequestedSizes() const {
        const std::lock_guard lock(mutex_);
        return requestedSizes_;
    }
    std::vector<std::wstring> Log() const {
        const std::lock_guard lock(mutex_);
        return log_;
    }
    std::size_t OpenKeys() const {
        const std::lock_guard lock(mutex_);
        return open_.size();
    }
    std::size_t PerformanceDataCloses() const {
        const std::lock_guard lock(mutex_);
        return performanceDataCloses_;
    }

private:
    static constexpr std::size_t kHistory = 1024;
    mutable std::mutex mutex_;
    std::vector<std::byte> block_;
    std::size_t requiredSize_ = 0;
    platform::RegStatus status_ = platform::kErrorSuccess;
    std::size_t queries_ = 0;
    std::vector<std::uint32_t> requestedSizes_;
    std::set<std::wstring> dynKeys_;
    std::uint32_t cpuUsage9x_ = 0;
    std::map<std::uintptr_t, std::wstring> open_;
    std::uintptr_t nextKey_ = 0x1000;
    std::vector<std::wstring> log_;
    std::size_t performanceDataCloses_ = 0;
};

} // namespace quelmo::fakes
