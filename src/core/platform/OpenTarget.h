// What the desktop's open operation does with a target: start a program, open an address or a document.
#pragma once

#include <string>

namespace halvika {

struct OpenTarget {
    enum class Kind {
        Program,  ///< an executable file: started with the parameters
        Address,  ///< "https:", "mailto:" and the like: the desktop's handler for the scheme
        Document, ///< any other existing file or folder: the desktop's handler for its type
        Missing   ///< nothing there
    };
    Kind kind = Kind::Missing;
    /// The program or document as found (a relative one completed), or the address as given.
    std::string path;

    /// A relative path is looked up in the working folder first; a bare name, when it is not there, as a
    /// program on `searchPath` ($PATH).
    static OpenTarget resolve(const std::string& target, const std::string& workingFolder,
                              const std::string& searchPath);
};

} // namespace halvika
