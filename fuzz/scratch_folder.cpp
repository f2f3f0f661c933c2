#include "scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "fuzz_check.h"
#include "stdio_file.h"

namespace zel::fuzz {

namespace {

class Folder {
public:
    Folder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/zel-fuzz-XXXXXX";
        ZEL_FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        m_path = pattern;
        ZEL_FUZZ_CHECK(chdir(m_path.c_str()) == 0);
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace

const std::string& ScratchFolder() {
    static Folder folder;
    return folder.Path();
}

std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = ScratchFolder() + "/" + name;
    StdioFile file = OpenStdioFile(path, "wb");
    ZEL_FUZZ_CHECK(file != nullptr);
    ZEL_FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file.get()) == size);
    ZEL_FUZZ_CHECK(std::fclose(file.release()) == 0);
    return path;
}

void ClearScratchFolder() {
    std::error_code failure;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder(), failure)) {
        std::filesystem::remove_all(entry.path(), failure);
        ZEL_FUZZ_CHECK(!failure);
    }
    ZEL_FUZZ_CHECK(!failure);
}

}  // namespace zel::fuzz
