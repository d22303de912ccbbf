#pragma once
// Refrigerant property library: the saturation properties of one refrigerant
// at a time, from the refrigerant data file "RefLib8.rdf" or the built-in R22
// record. Temperatures in °C, pressures in Pa, enthalpies in J/kg.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora {

struct TRefrigData {
    int32_t InternalNumber = 0;
    std::string RNumber = "R22";
    std::string Formula = "CHClF2";
    std::string ChemicalName = "chlorodifluoromethane";
    std::string CASNumber;
    int32_t Components = 1;
    std::string RefState = "IIR";
    std::string SourceFile = "R22.FLD";
    std::string FluidType = "Halocarbon-Methane Series";
    double TCrit = 96.1;
    double PCrit = 4990;
    double DCrit = 523.842;
    double wm = 86.468;
    double TTrip = -157.42;
    double TBoil = -40.8;
    double TMax = 60;
    double TMin = -60;
    std::array<double, 3> dp{21.39916, -2103.23, 254.0905};
    std::array<double, 3> bp{21.39916, -2103.23, 254.0905};
    std::array<double, 4> lh{200005.4, 1169.513, 1.346602, 0.01149432};
    std::array<double, 4> th{-184.4358, 0.0008925503, 6.406324e-10, -2.462772e-15};
    std::array<double, 5> vh{251040.6, 373.4119, -1.685585, -0.01689365, 154002.2};
    std::array<double, 6> sh{0.002846625, 6.958993e-07, 1.108134e-05, -5.134816e-08, 1.497383e-07, -7.479003e-10};
    std::array<double, 6> vv{-11.92094, 2418.916, 1.009912, 0.000931342, -1.615272e-05, -2.761813e-07};
    std::array<double, 6> sv{0.005239268, -4.672763e-06, 2.254271e-05, -1.07398e-07, 3.083406e-07, -7.039037e-10};
    std::array<double, 8> ic{1.135672, -0.001607226, -5.582052e-06, -4.64092e-06, -1.812148e-07, 2.579754e-08,
                             2.212816e-09, -0.0004593027};
    std::array<double, 4> sc{0.0002879333, -2.264442e-06, 1.550121e-05, -7.615213e-08};
    std::array<double, 4> lv{0.0007803834, 2.02297e-06, 1.027511e-08, 1.380161e-10};
    std::array<double, 5> cl{1169.949, 2.800445, 0.01805555, 9.210114e-05, 8.627718e-06};
    std::array<double, 5> cv{739.9727, 4.333812, 0.0249997, 0.0001732778, 1.181484e-05};
    std::array<double, 4> ul{215.9089, -2.368515, 0.01461229, -9.02754e-05};
    std::array<double, 4> uv{11.36384, 0.04225998, 8.919252e-05, 1.776812e-06};
    std::array<double, 4> kl{94.74255, -0.4489948, 5.499795e-05, -4.30647e-06};
    std::array<double, 4> kv{9.414686, 0.0641507, 0.0002790965, 7.05162e-06};
};

// The built-in R22 record, shared and never changed.
const TRefrigData& BuiltInR22();

// A small root finder; the library's instance is set up for inverting the
// superheat enthalpy.
class TRoot {
public:
    using Func = std::function<double(double)>;
    explicit TRoot(Func f, Func derivative = nullptr);
    void SetFunction(Func f, Func derivative);
    void SetLimits(int32_t iterationLimit, double tolerance);
    void SetStep(double step);
    // Forward-difference slope, used when no derivative is given.
    double Derivative(double x);
    // Newton iteration from x0 with the step as the first bracket; returns
    // the root, throws CalcError when it does not converge.
    double Solve(double x0);

    double LastValue = 0;
    double Tolerance = 0.000001;
    double Step = 0.1;
    int32_t IterationLimit = 50;

private:
    Func function_;
    Func derivative_;
};

class TRefrigLib {
public:
    // dataFile: full path of "RefLib8.rdf"; a missing file leaves the built-in R22.
    explicit TRefrigLib(std::string dataFile);
    ~TRefrigLib();

    void Select(const std::string& name);
    std::string RefrigName() const { return data_.RNumber; }
    std::string FullName() const;
    double SatPressure(double T) const;
    double DewTemp(double P) const;
    double BubbleTemp(double P) const;
    double Glide(double P) const;
    double CritPressure() const { return data_.PCrit * 1000; }
    double CritTemp() const { return data_.TCrit; }
    double BoilTemp() const { return data_.TBoil; }
    double LiqVolume(double T) const;
    double LiqEnthalpy(double T) const;
    double VapEnthalpyBase(double T) const;
    double VapEnthalpy(double T) const;
    double LatentHeat(double T) const;
    double VapVolume(double T) const;
    double SuperheatEnthalpy(double Ts, double T) const;

    const TRefrigData& Data() const { return data_; }
    const std::vector<std::string>& RefrigNames() const { return names_; }
    const std::string& DataFile() const { return file_; }
    const std::string& CachedName() const { return cachedName_; }
    TRoot& Root() { return *root_; }

private:
    std::string file_;
    TRefrigData data_;
    std::string cachedName_;
    std::vector<std::string> names_;
    std::unique_ptr<TRoot> root_;
    double targetEnthalpy_ = 0;
    double saturationTemp_ = 0;
};

}  // namespace velmora
