#include "datafiles/data_file.h"

#include "graph/dataset.h"

int SaveDataFile(const char* path, uint32_t typeCode) {
    return WriteDataValues(path, typeCode, dataSet.values, dataSet.count);
}
