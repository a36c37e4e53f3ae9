// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/officesheet.h"

class ZipArchive;

// The first table of an OpenDocument spreadsheet (.ods), from its content
// part; repeated rows and cells are counted, not spelled out, so a sheet that
// declares a million empty rows costs nothing.
namespace odssheet {

officesheet::Outcome read(const ZipArchive &zip);

} // namespace odssheet
