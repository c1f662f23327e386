/* The least a launcher can do: start the command line that follows its own name and
   wait for it. bench/run times it as the floor of what any launcher costs under the
   same Wine, for comparison with tarn.exe. */
#include <windows.h>

int main(void)
{
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    char* pRest = GetCommandLineA();

    /* Skips this program's own name, quoted or not, and the blanks after it. */
    if (*pRest == '"')
    {
        ++pRest;
        while (*pRest && *pRest != '"')
            ++pRest;
        if (*pRest)
            ++pRest;
    }
    else
    {
        while (*pRest && *pRest != ' ' && *pRest != '\t')
            ++pRest;
    }
    while (*pRest == ' ' || *pRest == '\t')
        ++pRest;

    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    if (!*pRest ||
        !CreateProcessA(NULL, pRest, NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, NULL, &startup, &process))
        return 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
