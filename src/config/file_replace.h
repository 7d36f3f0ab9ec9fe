// Whole-file input and output for the stored files. Files the server writes back
// (game.conf, game.winlist) are replaced atomically: the content goes to a new file
// beside the old one, which is renamed over it only once everything is on disk.
#pragma once

#include <string>
#include <string_view>

// Writes `content` as the file at `path`. False when the file could not be written
// completely, or when it exists and may not be written; the old file (if any) is
// then untouched and no temporary file is left. A path that is a symbolic link has
// its target replaced; the link stays. In a directory where no new file may be
// created, an existing file that may be written is rewritten in place (not atomic).
bool replace_file(const std::string& path, std::string_view content);

// Writes `content` in place (create or truncate), for files that are only ever
// created, never replaced. False when it could not be opened or written completely.
bool write_new_file(const std::string& path, std::string_view content);

// The content of a file (its first `limit` bytes when `limit` is not 0), or false
// when it cannot be opened. A read error part way keeps what was read before it.
bool read_whole_file(const std::string& path, std::string& content, std::size_t limit = 0);
