// SampleVersion.h: the name and version of Sample.
#if !defined(AFX_SAMPLEVERSION_H__2B7E4C19_5A3D_4E8F_9C21_6D0B3A8F7E54__INCLUDED_)
#define AFX_SAMPLEVERSION_H__2B7E4C19_5A3D_4E8F_9C21_6D0B3A8F7E54__INCLUDED_

namespace Sample {

constexpr const char* kName = "Sample";
constexpr const char* kVersion = "0.1.0";

}  // namespace Sample

#endif  // !defined(AFX_SAMPLEVERSION_H__2B7E4C19_5A3D_4E8F_9C21_6D0B3A8F7E54__INCLUDED_)
