#include "devdatas.h"

DevDatas *DevDatas::instance()
{
    static DevDatas *datas = new DevDatas; // lives until the process ends
    return datas;
}
