#pragma once

#include <QImage>

#include <chrono>
#include <string>

// Draws a Windows metafile (.emf, .wmf) fitted into `space`, like the other
// pictures: in the metafile helper, a separate process with a memory limit,
// so that a file which crashes, hangs or exhausts it costs only its picture
// (and at most kMetafileTimeLimit). A null image when the file is over its
// cap, undecodable, or the helper failed.
QImage LoadMetafilePicture(const std::string &path, QSize space);

// Ends the helper process; the next picture starts a new one.
void EndMetafileHelper();

inline constexpr auto kMetafileTimeLimit = std::chrono::seconds(2);
