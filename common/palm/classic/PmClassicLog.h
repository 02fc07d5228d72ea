#pragma once
// PmClassicLog: the debug-log lines of one application's classic .dat reader and writer.
// The container code (PmClassicUtil) logs the line of a slot where the step happens; a
// slot left null is not logged. Contacts logs nearly every step; Calendar, Tasks and Memos
// only a few lines around the whole load.
//
// Lines are printf formats; the argument each takes is noted. Failure lines go out at
// level 0 and progress lines at level 2, except for the three slots marked "level 2" below,
// which name failures or skips but are logged as progress.

namespace tabrel {

struct PmClassicLog {
    // --- Loading ----------------------------------------------------------------------------
    const char* emptyPath = nullptr;           // an empty path given to LoadFile
    const char* loadStart = nullptr;           // %s path
    const char* openFailed = nullptr;          // %s path
    const char* versionFailed = nullptr;       // CheckVersion failed
    const char* databaseNameRead = nullptr;    // %s the name recorded in the file
    const char* databaseNameFailed = nullptr;  //
    const char* labelsFailed = nullptr;        // the label text could not be loaded

    const char* categoriesStart = nullptr;
    const char* nextFeedIdFailed = nullptr;
    const char* categoryCountFailed = nullptr;
    const char* categoryIndexFailed = nullptr;
    const char* categoryIdFailed = nullptr;
    const char* categoryDirtyFailed = nullptr;
    const char* categoryNameFailed = nullptr;
    const char* categoryFileNameFailed = nullptr;
    const char* categoryAddFailed = nullptr;  // an entry the list cannot hold
    const char* categoriesDone = nullptr;
    const char* categoriesFailed = nullptr;  // loader line after any category failure

    const char* schemaStart = nullptr;
    const char* resourceIdFailed = nullptr;
    const char* fieldsPerRowFailed = nullptr;
    const char* fieldsPerRowInvalid = nullptr;  // %d fields per row of 0 or too many
    const char* recordIdPositionFailed = nullptr;
    const char* statusPositionFailed = nullptr;
    const char* placementPositionFailed = nullptr;
    const char* fieldCountFailed = nullptr;
    const char* fieldCodeFailed = nullptr;  // %d 0-based index of the field code
    const char* schemaDone = nullptr;
    const char* schemaFailed = nullptr;  // loader line after any schema failure

    const char* recordsStart = nullptr;
    const char* totalFieldsFailed = nullptr;
    const char* recordCount = nullptr;        // %d records the total field count announces
    const char* recordsUnreadable = nullptr;  // %d file position where reading records stopped
    const char* recordsDone = nullptr;        // %d records in the record list
    const char* recordsFailed = nullptr;      // loader line after any record failure

    const char* loadDone = nullptr;
    const char* loadFailed = nullptr;  // %s path

    const char* byUserNoFolder = nullptr;  // %d user ID
    const char* byUserLoading = nullptr;   // %d user ID, %s path

    // --- Saving -----------------------------------------------------------------------------
    const char* saveStart = nullptr;  // %s path
    const char* saveOpenFailed = nullptr;
    const char* versionWriteFailed = nullptr;
    const char* databaseNameWriteFailed = nullptr;
    const char* labelsWriteFailed = nullptr;
    const char* categoriesWriteFailed = nullptr;
    const char* schemaWriteFailed = nullptr;
    const char* recordsWriteFailed = nullptr;
    const char* saveDone = nullptr;
    const char* saveFailed = nullptr;  // a save refused: nothing loaded, or the last load failed

    const char* categoriesSaveStart = nullptr;
    const char* categorySlotEmpty = nullptr;       // level 2; each empty slot
    const char* categoryUnfiledSkipped = nullptr;  // level 2; the category of ID 0
    const char* categoryIndexWriteFailed = nullptr;
    const char* categoryIdWriteFailed = nullptr;
    const char* categoryDirtyWriteFailed = nullptr;
    const char* categoryNameWriteFailed = nullptr;      // %s name
    const char* categoryFileNameWriteFailed = nullptr;  // %s file name
    const char* categoriesSaved = nullptr;

    const char* schemaSaveStart = nullptr;
    const char* resourceIdWriteFailed = nullptr;  // level 2
    const char* fieldsPerRowWriteFailed = nullptr;
    const char* recordIdPositionWriteFailed = nullptr;
    const char* statusPositionWriteFailed = nullptr;
    const char* placementPositionWriteFailed = nullptr;
    const char* fieldCountWriteFailed = nullptr;
    const char* fieldCodeWriteFailed = nullptr;  // %d 0-based index
    const char* schemaSaved = nullptr;

    const char* recordsSaveStart = nullptr;
    const char* recordsSaveCount = nullptr;  // %d records written
    const char* totalFieldsWriteFailed = nullptr;
    const char* recordWriteFailed = nullptr;
    const char* recordFieldWriteFailed = nullptr;  // %d 0-based field index
    const char* recordsSaved = nullptr;
};

}  // namespace tabrel
