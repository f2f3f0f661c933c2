// A module's version resource read back with the version API, as installers
// and browsers read it.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace zel::test {

class VersionInfo {
public:
    explicit VersionInfo(const std::string& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0) return;
        m_block.resize(size);
        if (!GetFileVersionInfoA(path.c_str(), 0, size, m_block.data())) m_block.clear();
    }

    bool Valid() const { return !m_block.empty(); }

    // The fixed part; null when the module has none.
    const VS_FIXEDFILEINFO* Fixed() const {
        return static_cast<const VS_FIXEDFILEINFO*>(Query("\\", sizeof(VS_FIXEDFILEINFO)));
    }

    // The first translation: language and code page; zeros when missing.
    std::pair<WORD, WORD> Translation() const {
        const auto* words = static_cast<const WORD*>(Query("\\VarFileInfo\\Translation", 4));
        return words ? std::pair<WORD, WORD>{words[0], words[1]} : std::pair<WORD, WORD>{0, 0};
    }

    // A string of the string table `table` (for instance "040904B0").
    std::string Text(const std::string& table, const std::string& key) const {
        const void* value = Query("\\StringFileInfo\\" + table + "\\" + key, 0);
        return value ? std::string(static_cast<const char*>(value)) : "<missing>";
    }

private:
    const void* Query(const std::string& path, UINT atLeast) const {
        if (m_block.empty()) return nullptr;
        void* value = nullptr;
        UINT length = 0;
        auto* block = const_cast<char*>(m_block.data());
        if (!VerQueryValueA(block, path.c_str(), &value, &length) || !value || length < atLeast) return nullptr;
        return value;
    }

    std::vector<char> m_block;
};

}  // namespace zel::test
