#pragma once

// One visitor made of several lambdas, for std::visit over a variant.
template<class... Handlers> struct Overloaded : Handlers...
{
    using Handlers::operator()...;
};
template<class... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;
