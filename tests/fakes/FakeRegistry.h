// An in-memory registry for tests: keys and values with case-insensitive names and REG_* types,
// keys that refuse to open for reading or writing (an account without rights), and scriptable
// answers for value queries on a root key (the performance data under HKEY_PERFORMANCE_DATA).
// Safe to use from several threads.
#pragma once

#include "platform/Registry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quelmo::fakes {

using platform::RegAccess;
using platform::RegKey;
using platform::RegRoot;
using platform::RegStatus;
using platform::RegType;

class FakeRegistry final : public platform::Registry {
public:
    // Answers a value query on a root key; same contract as Registry::QueryValue.
    using QueryHook = std::function<RegStatus(std::wstring_view name, RegType& type,
                                              std::span<std::byte> buffer, std::uint32_t& size)>;

    FakeRegistry();
    ~FakeRegistry() override;

    // The Registry seam.
    RegKey RootKey(RegRoot root) override;
    RegStatus OpenKey(RegKey parent, std::wstring_view path, RegAccess access, RegKey& key) override;
    RegStatus CreateKey(RegKey parent, std::wstring_view path, RegAccess access, RegKey& key) override;
    void CloseKey(RegKey key) override;
    RegStatus QueryValue(RegKey key, std::wstring_view name, RegType& type, std::span<std::byte> buffer,
                         std::uint32_t& size) override;
    RegStatus SetValue(RegKey key, std::wstring_view name, RegType type,
                       std::span<const std::byte> data) override;
    RegStatus DeleteValue(RegKey key, std::wstring_view name) override;
    std::wstring ErrorText(RegStatus status) override;

    // Set-up and inspection by root and path ("A\\B\\C"); missing parents are created.
    void AddKey(RegRoot root, std::wstring_view path);
    // Removes the key with its subkeys and values; open handles to it then fail (kErrorKeyDeleted).
    void RemoveKey(RegRoot root, std::wstring_view path);
    bool HasKey(RegRoot root, std::wstring_view path) const;
    void SetString(RegRoot root, std::wstring_view path, std::wstring_view name, std::wstring_view text,
                   RegType type = RegType::String);
    void SetDword(RegRoot root, std::wstring_view path, std::wstring_view name, std::uint32_t value);
    void SetRaw(RegRoot root, std::wstring_view path, std::wstring_view name, RegType type,
                std::vector<std::byte> data);
    bool HasValue(RegRoot root, std::wstring_view path, std::wstring_view name) const;
    std::optional<RegType> ValueType(RegRoot root, std::wstring_view path, std::wstring_view name) const;
    // The text of a REG_SZ/REG_EXPAND_SZ value; nullopt when missing or of another type.
    std::optional<std::wstring> GetString(RegRoot root, std::wstring_view path, std::wstring_view name) const;
    // A REG_DWORD value; nullopt when missing or of another type.
    std::optional<std::uint32_t> GetDword(RegRoot root, std::wstring_view path, std::wstring_view name) const;

    // Opening the key (existing or created) with read or write rights fails with kErrorAccessDenied,
    // and so does creating subkeys under a key that refuses writing. A missing key is added first.
    void RefuseRead(RegRoot root, std::wstring_view path, bool refuse = true);
    void RefuseWrite(RegRoot root, std::wstring_view path, bool refuse = true);
    // Every later SetValue, DeleteValue and key creation answers `status` (kErrorSuccess ends it).
    void FailWrites(RegStatus status);

    // Value queries on `root` itself go to `hook` (an empty hook restores the stored values).
    void SetRootQueryHook(RegRoot root, QueryHook hook);
    // Answers a query with `data` as the registry does: type and size only for an empty buffer,
    // kErrorMoreData (with the needed size) when it does not fit.
    static RegStatus Answer(std::span<const std::byte> data, RegType dataType, RegType& type,
                            std::span<std::byte> buffer, std::uint32_t& size);

    // Keys opened or created and not closed yet.
    int OpenHandleCount() const;
    // How often CloseKey was called on a root key.
    int RootCloseCount(RegRoot root) const;
    // How many value queries reached a root's hook.
    int RootQueryCount(RegRoot root) const;

private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        RegAccess access;
    };

    std::shared_ptr<Node> RootNode(RegRoot root) const;
    std::shared_ptr<Node> Find(const std::shared_ptr<Node>& from, std::wstring_view path) const;
    std::shared_ptr<Node> FindOrAdd(const std::shared_ptr<Node>& from, std::wstring_view path);
    // The node behind a key handle or root, with the rights it was opened with.
    std::optional<Handle> Resolve(RegKey key) const;
    RegKey NewHandle(std::shared_ptr<Node> node, RegAccess access);

    mutable std::mutex mutex_;
    std::map<RegRoot, std::shared_ptr<Node>> roots_;
    std::map<std::uintptr_t, Handle> handles_;
    std::uintptr_t nextHandle_ = 0x1000;
    RegStatus writeFailure_ = platform::kErrorSuccess;
    std::map<RegRoot, QueryHook> hooks_;
    std::map<RegRoot, int> rootCloses_;
    std::map<RegRoot, int> rootQueries_;
};

} // namespace quelmo::fakes
