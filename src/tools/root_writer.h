// Writes planned files into an environment root as one change: either every
// file is in place afterwards, or the root is as it was before.
//
// The files are first written into a staging folder inside the root (so
// every later move is a rename on one file system). Only then are they moved
// to their places, one rename each; a file that was there before is moved
// aside into the staging folder, not deleted. When any step fails, the moves
// done so far are undone in reverse order, folders this run created are
// removed again, and the staging folder goes. A root folder that did not
// exist before is removed again on failure.
#ifndef H5KAKEI_TOOLS_ROOT_WRITER_H_
#define H5KAKEI_TOOLS_ROOT_WRITER_H_

#include <filesystem>
#include <string>
#include <vector>

#include "tools/book_plan.h"

namespace h5 {

// Windows paths are mapped when each file is moved into place, so a folder
// created for one file is found, whatever its case, by the next. Two files
// that land on the same place are an error. Files and folders of the root
// that the plan does not name stay untouched.
bool WriteIntoRoot(const std::filesystem::path& root, const std::vector<PlannedFile>& files,
                   std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_ROOT_WRITER_H_
