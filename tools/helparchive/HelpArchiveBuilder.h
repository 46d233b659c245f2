// The help-archive builder: a help set's text sources, checked as the viewer
// reads them, turned into the entries of a help archive and packed.
#pragma once

#include <string>
#include <vector>

#include "MemBuffer.h"
#include "Resource.h"

// The sources of the folders, each a file of its folder (subfolders are not
// read), by extension: "*.vgt" topics (entry of the same name, a string
// list), "*.picture" picture descriptions (entry "<stem>.bmp", a picture
// record with a DIB payload), "*.links" image-link descriptions (entry
// "<stem>.ald") and "topics.lst", the topic list in the viewer's list format
// (entry "topics"); "defaultname" holds "index.vgt". Entries come in a fixed
// order: "index.vgt", the other topics, the pictures, the link files (each by
// name), "topics" and "defaultname"; every entry but "defaultname" is packed.
//
// Refused, with a THelpSourceError naming file and line: a source of another
// kind or an entry name given twice; a topic that does not parse, an unknown
// tag, a malformed colour; a link, PANEL source or image-link area whose
// topic is no entry; a SEEALSO list with an even number of items or an empty
// caption; a TARGET that names no PANEL, no FORM and not "main"; a picture or
// link file that is no entry, or one that no topic uses; a topic that is
// neither in the topic list nor reachable from "index.vgt"; a topic list line
// with blanks around a comma, without a name or whose source is no topic;
// a missing "index.vgt" or topic list; and what the readers of the sources
// refuse (see HelpSource.h, PictureDescription.h, LinkDescription.h).
void BuildHelpArchive(const std::vector<std::string>& folders, TMemResource& archive);

// The archive's container form packed as its outer block: u32 unpacked size,
// 01, u32 packed size, the zlib stream, 00 01 00 00.
void PackHelpArchive(TMemResource& archive, TMemBuffer& block);
