#pragma once

#include <string>

// srcsafe.ini.tarnrestore, the record of a switch in force: a header line and
// the data_path value to put back, each ended with CR LF, so that every Notepad
// shows two lines.
std::string RestoreRecordText(const std::string& strOldPath);

// The value a record holds, from this version's records and from those of
// earlier versions (header ended with LF alone, nothing after the value). A
// data_path value never holds LF nor ends with CR, so the line ends are never
// part of it. False when the text is not such a record, in particular when
// anything stands before the header (a byte-order mark that an editor saved):
// taken apart anyway, its bytes could end up in srcsafe.ini.
bool ReadRestoreRecord(const std::string& strText, std::string& strOldPath);
