#pragma once
// A folder of the running program's own, for the files it writes only for a
// moment (report files before they are shown or copied, drawing blocks, the plot
// file): created with mode 0700 under the given folder (or the system's
// temporary folder), removed with everything in it when the object goes. Two
// programs running at once never meet in it.

#include <string>

namespace zam1 {

class PrivateFolder {
public:
    // Creates "zam1-XXXXXX" in `base` (TEMP or TMPDIR), or in the system's
    // temporary folder when `base` is empty or not writable. path() is empty
    // when neither works.
    explicit PrivateFolder(const std::string& base);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace zam1
