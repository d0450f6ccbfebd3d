#include "paging.h"

#include <algorithm>

int PageCountFor(qint64 rows, int pageSize)
{
    if (rows <= 0 || pageSize <= 0)
        return 0;
    return static_cast<int>(rows / pageSize + (rows % pageSize > 0 ? 1 : 0));
}

qint64 PageOffset(int page, int pageSize)
{
    return (std::max(page, 1) - 1) * static_cast<qint64>(std::max(pageSize, 1));
}
