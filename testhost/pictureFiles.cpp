#include "testhost/pictureFiles.h"

bool writePictures(Analyzer&, const std::string&, const std::string&)
{
    return false;
}
