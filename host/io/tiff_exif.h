// EXIF and GPS in TIFF files. Elsewhere they travel as one TIFF-structured
// block (as JPEG carries it: IFD0 with pointers to the EXIF and GPS IFDs);
// in a TIFF they are IFDs of the file itself, which libtiff writes only
// field by field. So the IFDs are copied entry by entry: read out of a TIFF
// input into a block, and appended to a TIFF output after libtiff closed it,
// with the main IFD's pointer entries set to them.
#pragma once

#include <tiffio.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gyhost {

// Before the image is written: the descriptive text of the block's IFD0
// (artist, copyright, make, model, description, date) as the file's own
// tags, and zero pointers to the EXIF and GPS IFDs to be filled in.
void SetTiffExifFields(TIFF* tif, const std::vector<uint8_t>& exif);
// After the file is closed: appends the block's EXIF and GPS IFDs and points
// the main IFD at them. False with a message when the file cannot be changed.
bool AppendTiffExif(const std::string& path, const std::vector<uint8_t>& exif, std::string* error);
// The EXIF and GPS IFDs of an open TIFF (and its descriptive text), as a
// block; empty when it has none.
std::vector<uint8_t> ReadTiffExif(TIFF* tif, const std::string& path);

}  // namespace gyhost
