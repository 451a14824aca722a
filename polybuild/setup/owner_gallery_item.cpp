#include "polybuild/setup/owner_gallery_item.h"

#include "frame/globals.h"  // a record's owner is the invocation: its gallery item is read here only
#include "polyhedron/polyhedron_record.h"

bool GalleryItemOfOwner(const polyhedron* poly, int32_t* item) {
  if (!poly || !poly->owner) return false;
  *item = poly->owner->galleryItem;
  return true;
}
