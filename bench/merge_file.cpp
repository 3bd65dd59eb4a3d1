// One file-to-file merge, a plain copy, or nothing, in a process of its own,
// so that its peak memory can be measured from outside:
//   merge_file generate FILE MEGABYTES   writes a sparse merge source
//   merge_file merge|copy|none SOURCE DEST

#include "mergesource.h"

#include "pagegen/bbmdatamerge.h"

#include <cstdio>
#include <cstring>

namespace {

int usage() {
    std::fprintf(stderr, "usage: merge_file generate FILE MEGABYTES\n"
                         "       merge_file merge|copy|none SOURCE DEST\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return usage();
    const char* mode = argv[1];
    const QString first = QString::fromLocal8Bit(argv[2]);
    const QString second = QString::fromLocal8Bit(argv[3]);
    TBBMDataMerge merge;
    mergesource::setMergeVariables(merge);
    if (std::strcmp(mode, "generate") == 0) {
        mergesource::writeFile(first, second.toLongLong() * 1024 * 1024, mergesource::SparsePeriod);
    } else if (std::strcmp(mode, "merge") == 0) {
        merge.SourceType = mmFile;
        merge.SourceFile = first;
        merge.DestType = mmFile;
        merge.DestFile = second;
        merge.Execute();
    } else if (std::strcmp(mode, "copy") == 0) {
        mergesource::copyFile(first, second);
    } else if (std::strcmp(mode, "none") != 0) {
        return usage();
    }
    return 0;
}
