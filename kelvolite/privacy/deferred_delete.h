// The per-build steps of the deletion routines: how an entry is deleted
// now, and how it is handed over for deletion at the next restart
// (deferred_delete_9x.cpp writes wininit.ini, deferred_delete_nt.cpp asks
// the system).
#pragma once
#include <string>

class TForm1;

bool DeleteFileNow(const std::string& path);
bool RemoveFolderNow(const std::string& path);
// True when the entry was really scheduled. An entry that still exists but
// could not be scheduled is noted in the form's FUnscheduledError.
bool ScheduleAtRestart(TForm1& form, const std::string& path);
// Notes a failure to schedule `path`, unless the entry is gone anyway.
void NoteUnscheduled(TForm1& form, const std::string& path, unsigned long error);
