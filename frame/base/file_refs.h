// Making file references from Mac OS Roman names: create, reuse or probe,
// collision-free numbering, renumbered and re-extended siblings, the
// Preferences and temporary folders, and the name-extension helpers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/files.h"

// The core of all reference making. create 1: create the file (or folder,
// folderFlag 1) or reuse an existing one; create 0: a probe that answers 0
// for an existing object and kFileNotFound otherwise, leaving the folder as
// it was. existed and spec may be null.
int32_t RefCreateCore(const FSRef* parent, const char* name, FSRef* out, int32_t folderFlag, uint8_t* existed,
                      FSSpec* spec, uint8_t create);
int32_t CreateNewFileRefFromParentRefAndCName(const FSRef* parent, const char* name, FSRef* out, uint8_t create);
int32_t ZorDirCreate(const FSRef* parent, const char* name, FSRef* out);

// The named file in the Preferences folder (created when missing): for
// reading only when it exists (else kFileNotFound, no file made), for writing
// created when missing.
int32_t GetPrefsFileRefC_for_reading(FSRef* out, const char* name);
int32_t GetPrefsFileRefC_for_writing(FSRef* out, const char* name);
int32_t GetTempFileRefC(FSRef* out, const char* name);
int32_t MakeRefForNewFileInSameDirectoryAsOldFile(const FSRef* old, const char* name, FSRef* out);

// Creates a file whose name is not taken yet: the name, else "base 2.ext" up
// to "base 999.ext". 48 when all are taken; any other failure is answered.
int32_t CreateNewFileRef_noncolliding(const FSRef* parent, const char* name, FSRef* out, FSSpec* spec);
// "base n.ext" into out; false when it had to be cut to outSize.
bool GenerateRenumbered_C_Filename(char* out, size_t outSize, const char* name, int32_t n);
// A sibling of the source named base + suffix + extension (created when
// missing): the suffix is the separator and the three-digit number when count
// >= 2, or the separator and the tag when a tag is given; newExtension (with
// its dot) replaces the source's. With no tag, count < 2 and no new extension
// the source itself is the answer.
int32_t GenerateRenumberedFileRef(const FSRef* source, FSRef* out, int32_t number, int32_t count,
                                  const char* newExtension, int32_t modelNameFlag, const char* tag,
                                  uint8_t spaceFlag);
int32_t MakeClonedRefWithNewExtender(const char* newExtension, FSRef* out, const FSRef* source,
                                     uint8_t modelNameFlag);

// Cuts the name at its last dot.
void StripAnyExtender(char* name);
// The text from the last dot to the end ("" without a dot, or for a null or
// one-character name), cut to outSize.
void get_extender_with_dot(char* out, size_t outSize, const char* name);
