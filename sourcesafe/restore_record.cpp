#include "sourcesafe/restore_record.h"

#include "sourcesafe/ini_text.h"

namespace
{
const char kHeader[] = "tarn: data_path to put back";
}

std::string RestoreRecordText(const std::string& strOldPath)
{
    return std::string(kHeader) + "\r\n" + strOldPath + "\r\n";
}

bool ReadRestoreRecord(const std::string& strText, std::string& strOldPath)
{
    const std::vector<std::string> lines = SplitIniLines(strText);
    const bool bEndedLine = lines.size() == 3 && lines[2].empty();
    if ((lines.size() != 2 && !bEndedLine) || lines[0] != kHeader)
        return false;
    strOldPath = lines[1];
    return true;
}
