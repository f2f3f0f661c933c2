// Reading a description file (.zel) into a ViewTable, in either shell's dialect.
//
// Grammar, as white-space separated tokens:
//   header     N W H F                  four integers
//   N records  NAME SLOT1 SLOT2 SLOT3 SLOT4
//   control dialect, F != 0 only:
//              M, then M records        MORPHPATH VIEWA VIEWB
// Anything after that is not read. Integers are optionally signed decimals.
//
// Bad input: the file is refused whole, with the line and token where reading
// stopped, whenever the viewer could not use it safely: a short file, a
// non-number, a view count below 1, a picture side below 12 or beyond JPEG's
// 65500, frames that would need more than kMaxMovieBytes, a neighbour or pair
// view outside the table, a name or morph path longer than its buffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view_table.h"

namespace zel {

enum class Dialect {
    Plugin,   // crossfade flag, 80-byte names, no morph section
    Control,  // morph-section flag, 128-byte names, morph section read
};

inline constexpr int32_t kMinPictureSide = 12;  // the drag step is a twelfth of a side
inline constexpr int32_t kMaxPictureSide = 65500;  // the largest side a JPEG can have
// Every view's frame together, at its largest form (24-bit rows with a pad byte).
inline constexpr uint64_t kMaxMovieBytes = uint64_t{1} << 30;
inline constexpr size_t kMaxMorphPathLength = 79;

// Longest view name each shell keeps (its buffer less the terminating NUL).
size_t MaxNameLength(Dialect dialect);

enum class ReadStatus { Ok, CantOpen, Refused };

struct DescriptionProblem {
    int line = 0;        // 0 when the problem is not tied to one place
    std::string token;   // the token read there, if any
    std::string message;
};

// Says where and why, e.g. "line 4, \"abc\": ... ".
std::string DescribeProblem(const DescriptionProblem& problem);

struct MorphProblem {
    int32_t pair = 0;
    std::string path;
    bool cantOpen = false;  // else the file opened but was refused
    DescriptionProblem detail;
};

struct DescriptionRead {
    ReadStatus status = ReadStatus::CantOpen;
    ViewTable table;                         // filled when status is Ok
    DescriptionProblem problem;              // why the file was refused
    std::vector<MorphProblem> morphProblems; // in pair order; the movie still loads
};

// Reads the description at `path`. In the control dialect the morph files are
// read too, once the description itself has been accepted.
DescriptionRead ReadDescriptionFile(const std::string& path, Dialect dialect);

}  // namespace zel
