// Writing the carried projector out of our resources and joining a movie to
// it. Failures throw std::runtime_error with the platform's message.
#pragma once

#include <string>

// Writes the bytes of the custom resource name/type of our module, in the
// Chinese (PRC) language, whole to path, creating or replacing the file.
void SaveResourceToFile(const wchar_t* name, const wchar_t* type, const std::wstring& path);

// Writes projector bytes + SWF bytes + marker + SWF size to output. The
// projector and the SWF are opened allowing no other opener meanwhile.
void BuildProjectorExe(const std::wstring& swf_path, const std::wstring& output_path,
                       const std::wstring& projector_path);
