// The reference of every built-in, core and graphics, by family: what
// `.help NAME` prints and what docs/builtins.md is generated from. A test
// fails when a registered key has no entry here or an entry names a key that
// is not registered; the examples are run by the documentation tests.
#include <array>

#include "builtins/builtins.h"

namespace {

constexpr const char* kNotNumber = R"~("Bad type operation in op1" when the argument is not a number)~";

constexpr BuiltinHelp kElementary[] = {
    {"sin$1", "sin(z)", "The sine of every element: sin(x + iy) = sin x cosh y + i cos x sinh y.",
     "a matrix of the shape of z", kNotNumber, ">sin(@pi / 6)\n0.500"},
    {"cos$1", "cos(z)", "The cosine of every element.", "a matrix of the shape of z", kNotNumber,
     ">cos([0, @pi])\n 1.000, -1.000"},
    {"tan$1", "tan(z)", "The tangent of every element, tan z = -i tanh(iz).", "a matrix of the shape of z",
     kNotNumber, ">tan(@pi / 4)\n1.000"},
    {"asin$1", "asin(z)",
     "The arc sine of every element. A real element from -1 to 1 gives the real arc sine, from -pi/2 to "
     "pi/2; any other element gives the complex principal value.",
     "a matrix of the shape of z", kNotNumber, ">asin([0.5, 2])\n       0.524, 1.571-1.317i"},
    {"acos$1", "acos(z)",
     "The arc cosine of every element: real, from 0 to pi, for a real element from -1 to 1; otherwise "
     "pi/2 - asin(z).",
     "a matrix of the shape of z", kNotNumber, ">acos(0.5)\n1.047"},
    {"atan$1 atan$2", "atan(z)\natan(y, x)",
     "With one argument, the arc tangent of every element: real, between -pi/2 and pi/2, for a real "
     "element; the complex principal value otherwise. With two, the angle of the point (x, y) from the "
     "positive x axis, from -pi to pi, for every pair of elements (paired as the operators pair them).",
     "a matrix of the shape of z, or of the broadcast shape of y and x",
     R"~("Argument for axis must be real number in atan()" when an element of y or x is complex)~" "\n"
     R"~("Bad type operation in op1" or "Bad type operation in op2" when an argument is not a number)~",
     ">atan(1)\n0.785\n>atan(1, -1)\n2.356"},
    {"sinh$1", "sinh(z)", "The hyperbolic sine of every element.", "a matrix of the shape of z", kNotNumber,
     ">sinh(1)\n1.175"},
    {"cosh$1", "cosh(z)", "The hyperbolic cosine of every element.", "a matrix of the shape of z", kNotNumber,
     ">cosh(1)\n1.543"},
    {"tanh$1", "tanh(z)", "The hyperbolic tangent of every element.", "a matrix of the shape of z", kNotNumber,
     ">tanh(1)\n0.762"},
    {"asinh$1", "asinh(z)", "The inverse hyperbolic sine of every element (real for a real element).",
     "a matrix of the shape of z", kNotNumber, ">asinh(1)\n0.881"},
    {"acosh$1", "acosh(z)",
     "The inverse hyperbolic cosine of every element: real for a real element of 1 or more; otherwise the "
     "complex principal value, whose real part is never negative.",
     "a matrix of the shape of z", kNotNumber, ">acosh(2)\n1.317"},
    {"atanh$1", "atanh(z)",
     "The inverse hyperbolic tangent of every element: real for a real element strictly between -1 and 1; "
     "otherwise 0.5 log((1 + z) / (1 - z)).",
     "a matrix of the shape of z", kNotNumber, ">atanh(0.5)\n0.549"},
    {"exp$1", "exp(z)", "e raised to every element.", "a matrix of the shape of z", kNotNumber,
     ">exp([0, 1])\n1.000, 2.718"},
    {"log$1 log$2", "log(z)\nlog(a, b)",
     "The natural logarithm of every element, the principal value: its real part is ln|z| and its "
     "imaginary part the angle of z, from -pi to pi; log(0) is -inf. With two arguments, the logarithm of "
     "a to the base b: ln a / ln b when both are real (NaN when either is negative), else log a / log b.",
     "a matrix of the shape of z, or of the broadcast shape of a and b",
     R"~("Bad type operation in op1" or "Bad type operation in op2" when an argument is not a number)~",
     ">log(-1)\n3.142i\n>log(8, 2)\n3.000"},
    {"log10$1", "log10(z)", "The base-10 logarithm of every element, log(z) times log10(e).",
     "a matrix of the shape of z", kNotNumber, ">log10(1000)\n3.000"},
    {"sqrt$1", "sqrt(z)",
     "The principal square root of every element (its real part is never negative): a negative real "
     "element gives an imaginary result.",
     "a matrix of the shape of z", kNotNumber, ">sqrt([4, -4])\n 2.000, 2.000i"},
    {"cbrt$1", "cbrt(z)",
     "The cube root of every element: the real cube root, with the sign of the element, for a real "
     "element; the principal complex cube root otherwise.",
     "a matrix of the shape of z", kNotNumber, ">cbrt([-27, 8i])\n      -3.000, 1.732+1.000i"},
};

constexpr BuiltinHelp kComplexParts[] = {
    {"abs$1", "abs(z)", "The absolute value of every element: the modulus of a complex element, computed "
     "without overflow.",
     "a real matrix of the shape of z", kNotNumber, ">abs([-3, 3+4i])\n3.000, 5.000"},
    {"arg$1", "arg(z)", "The angle of every element from the positive real axis, from -pi to pi.",
     "a real matrix of the shape of z", kNotNumber, ">arg([1i, -1])\n1.571, 3.142"},
    {"conj$1", "conj(z)", "The complex conjugate of every element.", "a matrix of the shape of z", kNotNumber,
     ">conj(1+2i)\n1.000-2.000i"},
    {"real$1 re$1", "real(z)\nre(z)", "The real part of every element; re is another name for real.",
     "a real matrix of the shape of z", kNotNumber, ">re(3-4i)\n3.000"},
    {"imag$1 im$1", "imag(z)\nim(z)", "The imaginary part of every element; im is another name for imag.",
     "a real matrix of the shape of z", kNotNumber, ">im(3-4i)\n-4.000"},
};

constexpr BuiltinHelp kRounding[] = {
    {"floor$1", "floor(z)", "Rounds every element down; the real and imaginary parts separately.",
     "a matrix of the shape of z", kNotNumber, ">floor([-2.5, 2.5])\n-3.000,  2.000"},
    {"ceil$1", "ceil(z)", "Rounds every element up; the real and imaginary parts separately.",
     "a matrix of the shape of z", kNotNumber, ">ceil([-2.5, 2.5])\n-2.000,  3.000"},
    {"round$1 round$2", "round(z)\nround(z, n)",
     "Rounds every element to the nearest integer, halves away from zero; the real and imaginary parts "
     "separately. With n, to n decimal places; a negative n rounds to tens (-1), hundreds (-2) and so on.",
     "a matrix of the shape of z",
     R"~("Cannot convert arg to integer" when n is not an integer)~" "\n" R"~("Bad type operation in op1" when z is not a number)~",
     ">round([2.5, -2.5])\n 3.000, -3.000\n>round(1234.5678, -2)\n1200.000"},
    {"bround$1 bround$2", "bround(z)\nbround(z, n)",
     "Like round, but a half goes to the even neighbour (banker's rounding).", "a matrix of the shape of z",
     R"~("Cannot convert arg to integer" when n is not an integer)~" "\n" R"~("Bad type operation in op1" when z is not a number)~",
     ">bround([2.5, 3.5, -2.5])\n 2.000,  4.000, -2.000"},
    {"int$1", "int(z)", "Truncates the real part of every element toward zero; the imaginary part is dropped.",
     "a real matrix of the shape of z",
     R"~("value range error in int()" when a real part lies outside -2147483648 to 2147483647)~" "\n" R"~("Bad type operation in op1" when z is not a number)~",
     ">int([-3.7, 3.7])\n-3.000,  3.000"},
    {"sign$1", "sign(z)",
     "-1, 0 or 1 for every element by its sign; the real and imaginary parts separately. A part that "
     "equals 0 under the comparison tolerance (see eps) counts as 0.",
     "a matrix of the shape of z", kNotNumber, ">sign([-2, 0, 3])\n-1.000,  0.000,  1.000"},
    {"finite$1", "finite(z)", "1 for every element whose two parts are finite, 0 for an infinity or NaN.",
     "a matrix of 0 and 1 of the shape of z", kNotNumber, ">finite([1, @inf, @nan])\n1.000, 0.000, 0.000"},
};

constexpr BuiltinHelp kIntegers[] = {
    {"fact$1", "fact(n)", "The factorial of every element: 1 for n of 1 or less, inf beyond 170!.",
     "a real matrix of the shape of n",
     R"~("Cannot convert arg to integer" when an element is not an integer)~" "\n" R"~("Bad type operation in op1" when n is not a number)~",
     ">fact([0, 5, 10])\n      1.000,     120.000, 3628800.000"},
    {"perm$2", "perm(n, r)",
     "The number of ordered choices of r things among n, n (n - 1) ... (n - r + 1), for every pair of "
     "elements; 0 when n or r is negative or r exceeds n.",
     "a real matrix of the broadcast shape of n and r",
     R"~("Cannot convert arg to integer" when an element is not an integer)~", ">perm(5, 2)\n20.000"},
    {"comb$2", "comb(n, r)",
     "The number of ways to choose r things among n (the binomial coefficient) for every pair of "
     "elements; 0 when n or r is negative.",
     "a real matrix of the broadcast shape of n and r",
     R"~("Cannot convert arg to integer" when an element is not an integer)~", ">comb(5, 2)\n10.000"},
    {"gcd", "gcd(a, b, ...)\ngcd(v)",
     "The greatest common divisor, element by element, folded over the arguments from left to right "
     "(shapes combine as with the operators). With one argument, a row or a column, the greatest common "
     "divisor of its elements. The remainder keeps the sign of the dividend, so a result can be negative.",
     "a real matrix; 1 by 1 for a single row or column",
     R"~("Too few arguments in gcd()" when there is no argument, or one that is not a row or a column)~" "\n"
     R"~("Cannot convert arg to integer" when an element is not an integer)~",
     ">gcd(12, 18)\n6.000\n>gcd([12, 18, 27])\n3.000"},
    {"lcm", "lcm(a, b, ...)\nlcm(v)",
     "The least common multiple, folded over the arguments like gcd; with one argument, a row or a "
     "column, the least common multiple of its elements. lcm(0, 0) is 0.",
     "a real matrix; 1 by 1 for a single row or column",
     R"~("Too few arguments in lcm()" when there is no argument, or one that is not a row or a column)~" "\n"
     R"~("Cannot convert arg to integer" when an element is not an integer)~",
     ">lcm(4, 6)\n12.000\n>lcm([4, 6, 10])\n60.000"},
};

constexpr BuiltinHelp kMinMax[] = {
    {"max", "max(a, b, ...)\nmax(v)",
     "The larger of every pair of elements, folded over the arguments from left to right (shapes combine "
     "as with the operators); on a tie the later argument's element is taken. With one argument, a row or "
     "a column, its largest element. Elements must be real.",
     "a real matrix; 1 by 1 for a single row or column",
     R"~("Bad argument in max()" when there is no argument, or one that is not a numeric row or column)~" "\n"
     R"~("Cannot convert arg to real number" when an element is complex)~",
     ">max(3, [1, 5, 2])\n3.000, 5.000, 3.000\n>max([1, 5, 2])\n5.000"},
    {"min", "min(a, b, ...)\nmin(v)",
     "The smaller of every pair of elements, folded over the arguments like max; with one argument, a row "
     "or a column, its smallest element. Elements must be real.",
     "a real matrix; 1 by 1 for a single row or column",
     R"~("Bad argument in min()" when there is no argument, or one that is not a numeric row or column)~" "\n"
     R"~("Cannot convert arg to real number" when an element is complex)~",
     ">min(4, 2, 8)\n2.000"},
};

constexpr BuiltinHelp kSpecial[] = {
    {"legendre$2 legendre$3", "legendre(x, n)\nlegendre(x, n, m)",
     "The associated Legendre function P(n, m) at x, with the factor (-1)^m, for every triple of elements "
     "(m is 0 when left out). n and m are truncated to integers; the result is NaN when m is negative, m "
     "exceeds n or |x| exceeds 1.",
     "a real matrix of the broadcast shape of the arguments",
     R"~("Cannot convert arg to real number" when an element is complex)~" "\n"
     R"~("Bad argument in legendre()" when n exceeds 16777216)~",
     ">legendre(0.5, 2)\n-0.125\n>legendre(0.5, 2, 1)\n-1.299"},
    {"random$0 random$1 random$2", "random()\nrandom(n)\nrandom(r, c)",
     "Numbers uniformly distributed from 0 up to (not including) 1, from the 32-bit Mersenne Twister: "
     "one number, an n by n matrix or r rows by c columns. Every run starts from the same seed (5489) "
     "until srand is called.",
     "a real matrix",
     R"~("Bad argument in random()" when a size is below 1)~" "\n"
     R"~("Cannot convert arg to integer" when a size is not an integer)~",
     ">random(1, 3)\n0.815, 0.135, 0.906"},
    {"srand$0 srand$1", "srand()\nsrand(s)",
     "Seeds the random generator with the current time in seconds, or with the integer s; srand(5489) "
     "restarts the sequence of an unseeded run.",
     "0", R"~("Cannot convert arg to integer" when s is not an integer)~",
     ">srand(7); a = random(); srand(7); a == random()\n1.000"},
};

constexpr BuiltinHelp kLinear[] = {
    {"inv$1", "inv(A)", "The inverse of a square matrix, by Gauss-Jordan elimination with full pivoting.",
     "a square matrix",
     R"~("Bad argument in inv()" when A is not a number)~" "\n"
     R"~("Matrix size not match in inv()" when A is not square)~" "\n"
     R"~("Pivot error in inv()" when A is singular)~",
     ">inv([4, 7][2, 6])\n 0.600, -0.700\n-0.200,  0.400"},
    {"det$1", "det(A)",
     "The determinant of a square matrix, by LU decomposition with scaled partial pivoting. A singular "
     "matrix gives 0; so does a pivot smaller than 1e-10.",
     "1 by 1",
     R"~("Bad argument in det()" when A is not a number)~" "\n" R"~("Matrix size not match in det()" when A is not square)~",
     ">det([1, 2][3, 4])\n-2.000"},
    {"rank$1", "rank(A)",
     "The rank of a matrix, by elimination with full pivoting; a pivot smaller than 1e-10 ends the count.",
     "1 by 1", R"~("Bad argument in rank()" when A is not a number)~",
     ">rank([1, 2, 3][2, 4, 6][1, 0, 1])\n2.000"},
    {"trace$1", "trace(A)", "The sum of the diagonal of a square matrix.", "1 by 1",
     R"~("Bad argument in trace()" when A is not a number)~" "\n" R"~("Matrix size not match in trace()" when A is not square)~",
     ">trace([1, 2][3, 4])\n5.000"},
};

constexpr BuiltinHelp kShaping[] = {
    {"Im$1", "Im(n)", "The n by n identity matrix.", "an n by n matrix",
     R"~("Bad argument in Im()" when n is below 1)~" "\n" R"~("Cannot convert arg to integer" when n is not an integer)~",
     ">Im(2)\n1.000, 0.000\n0.000, 1.000"},
    {"Zm$1 Zm$2", "Zm(n)\nZm(r, c)", "A matrix of zeros: n by n, or r rows by c columns.", "a matrix",
     R"~("Bad argument in Zm()" when a size is below 1)~" "\n" R"~("Cannot convert arg to integer" when a size is not an integer)~",
     ">Zm(2, 3)\n0.000, 0.000, 0.000\n0.000, 0.000, 0.000"},
    {"diag", "diag(v)\ndiag(A, B, ...)",
     "With one row or column v, the square matrix with v on its diagonal. With two or more matrices, the "
     "block-diagonal matrix that holds them in order from the top left, zeros elsewhere.",
     "a matrix",
     R"~("Bad argument in diag()" when an argument is not a number, a single argument is not a row or a column, or the blocks hold no rows or no columns)~" "\n"
     R"~("Too few argument in diag()" when there is no argument)~",
     ">diag([1, 2][3, 4], 5)\n1.000, 2.000, 0.000\n3.000, 4.000, 0.000\n0.000, 0.000, 5.000"},
    {"rows$1", "rows(A)", "The number of rows of A.", "1 by 1", R"~("Bad argument in rows()" when A is not a number)~",
     ">rows([1, 2, 3][4, 5, 6])\n2.000"},
    {"cols$1", "cols(A)", "The number of columns of A.", "1 by 1", R"~("Bad argument in cols()" when A is not a number)~",
     ">cols([1, 2, 3][4, 5, 6])\n3.000"},
    {"size$1", "size(A)", "The number of elements of A, rows times columns.", "1 by 1",
     R"~("Bad argument in size()" when A is not a number)~", ">size([1, 2, 3][4, 5, 6])\n6.000"},
    {"flipv$1", "flipv(A)", "A with its rows in reverse order (upside down).", "a matrix of the shape of A",
     R"~("Bad argument in flipv()" when A is not a number)~", ">flipv([1, 2][3, 4])\n3.000, 4.000\n1.000, 2.000"},
    {"fliph$1", "fliph(A)", "A with its columns in reverse order (left to right).", "a matrix of the shape of A",
     R"~("Bad argument in fliph()" when A is not a number)~", ">fliph([1, 2][3, 4])\n2.000, 1.000\n4.000, 3.000"},
    {"sortv$1 sortv$2", "sortv(A)\nsortv(A, k)",
     "Sorts vertically by real part, ascending. Without k every column is sorted on its own and the "
     "result is real. With k, whole rows are reordered so that column k (counted from 0) ascends; complex "
     "elements stay complex, and rows with equal keys may come in any order.",
     "a matrix of the shape of A",
     R"~("Bad argument in sortv()" when A is not a number or k is not a column of A)~" "\n"
     R"~("Cannot convert arg to integer" when k is not an integer)~",
     ">sortv([3, 1][1, 2][2, 0], 1)\n2.000, 0.000\n3.000, 1.000\n1.000, 2.000"},
    {"sorth$1 sorth$2", "sorth(A)\nsorth(A, k)",
     "Sorts horizontally by real part, ascending. Without k every row is sorted on its own and the result "
     "is real. With k, whole columns are reordered so that row k (counted from 0) ascends.",
     "a matrix of the shape of A",
     R"~("Bad argument in sorth()" when A is not a number or k is not a row of A)~" "\n"
     R"~("Cannot convert arg to integer" when k is not an integer)~",
     ">sorth([3, 1, 2][0, 5, 4])\n1.000, 2.000, 3.000\n0.000, 4.000, 5.000"},
};

constexpr BuiltinHelp kOutput[] = {
    {"print", "print(v, ...)\nprint(file, v, ...)",
     "Writes its arguments on one line and ends it with a line feed: numbers as matrices in the number "
     "format (see format), the rows of a matrix on lines of their own; strings as their bytes; nothing "
     "between arguments. With a file identifier first, the line goes to that file.",
     "0", R"~("Bad argument in print()" when the file identifier names a slot with no open file)~",
     R"~(>print("x = ", 1.5, "!"))~" "\nx = 1.500!\n0.000"},
    {"printf", "printf(format, v, ...)\nprintf(file, format, v, ...)",
     "Writes the format text with its directives replaced by the arguments, in order, and adds no line "
     "feed. Directives are those of C: %d %i %o %u %x %X %c print the real part of the first element "
     "truncated to an integer; %e %f %g %E %G print the first element, complex ones as a+bi; %s prints a "
     "string; %m prints a whole matrix in %f form and %n in %g form; %% prints %. Flags, width and "
     "precision work as in C. A directive with no argument left, or an argument of the wrong kind, prints "
     "nothing; any other letter after % is printed as itself. With a file identifier first, the text goes "
     "to that file.",
     "0",
     R"~("Bad argument in printf()" when the format is missing or not a string, or the file identifier names a slot with no open file)~",
     R"~(>printf("%d items at %.2f\n", 3, 2.5))~" "\n3 items at 2.50\n0.000"},
    {"sprintf", "sprintf(format, v, ...)", "Formats like printf and gives back the text instead of writing it.",
     "a string", R"~("Bad argument in printf()" when the format is missing or not a string)~",
     R"~(>sprintf("%6.2m", [1, 2][3, 4]))~" "\n" R"~("  1.00,   2.00\n  3.00,   4.00")~"},
    {"format$1", "format(f)",
     "Sets the number format, the printf format for one number with which print, talk mode and %m show "
     "every real and imaginary part. The default is %.3f.",
     "the previous format, as a string",
     R"~("Bad argument in format()" when f is not a string, or not a format that prints exactly one floating-point number)~",
     R"~(>format("%g"))~" "\n" R"~("%.3f")~" "\n>1/3\n0.333333"},
};

constexpr BuiltinHelp kSettings[] = {
    {"strict$1", "strict(on)",
     "Turns strict mode on when on is true, off when it is false. In strict mode assigning to a name that "
     "was never declared, and declaring a name twice in one scope, are errors.",
     "the previous state, 1 or 0", R"~("Bad argument in strict()" when on is not a 1 by 1 number)~",
     ">strict(1)\n0.000\n>y = 1\nerror [1]: Variable y not declared"},
    {"eps$1", "eps(tol)",
     "Sets the comparison tolerance: from then on two numbers are equal when they differ by at most tol "
     "times the larger of their magnitudes and 1. It affects every comparison, every truth test, sign, "
     "and whether print shows a tiny imaginary part. The default is 0 (exact).",
     "the previous tolerance", R"~("Bad argument in eps()" when tol is not a real 1 by 1 number)~",
     ">0.1 + 0.2 == 0.3\n0.000\n>eps(1e-12)\n0.000\n>0.1 + 0.2 == 0.3\n1.000"},
    {"error$1", "error(message)",
     "Raises a run-time error whose message is the text, taken as it is. Like every run-time error it "
     "ends the run unless a try statement catches it; the text a catch receives starts with the line, as "
     "in error [12]: message.",
     "nothing: it does not return", R"~("Bad argument in error()" when message is not a string)~",
     R"~(>try error("no data"); catch (e) print(e))~" "\nerror [1]: no data\n0.000"},
};

constexpr BuiltinHelp kConsole[] = {
    {"kbhit$0", "kbhit()",
     "1 when a key press is waiting to be read by getch, else 0; it does not wait. On a terminal keys are "
     "taken as they are pressed, without Enter. When standard input is not a terminal the keys are its "
     "bytes, and at its end a key is always waiting.",
     "1 or 0", "",
     "$ echo 'print(kbhit(), \" \", getch(), \" \", getch());' > keys.qn\n$ printf 'x' > key.txt\n$ quarn keys.qn < key.txt\n"
     "1.000 120.000 -1.000"},
    {"getch$0", "getch()",
     "Waits for a key press and gives its character code, without showing the key. When standard input "
     "is not a terminal it reads the next byte, and -1 at its end.",
     "the character code", "",
     "$ echo 'printf(\"%d %d\\n\", getch(), getch());' > two.qn\n$ printf 'ok' | quarn two.qn\n111 107"},
    {"getche$0", "getche()", "Like getch, and the key is shown (echoed) as well.", "the character code", "",
     "$ echo 'c = getche(); printf(\" is %d\\n\", c);' > echo.qn\n$ printf 'y' | quarn echo.qn\ny is 121"},
};

constexpr BuiltinHelp kFiles[] = {
    {"open$3", "open(file, name, mode)",
     "Opens the file name in the slot of the file identifier file (@0 to @9), with a C mode text: \"r\" "
     "to read, \"w\" to write anew, \"a\" to append, \"r+\" and the like. Whatever the slot held is closed "
     "first.",
     "1 when the file was opened, else 0",
     R"~("Bad argument in open()" when file is not @0 to @9, or name or mode is not a string)~",
     R"~(>open(@1, "out.txt", "w"))~" "\n1.000\n" R"~(>open(@2, "no/such/file", "r"))~" "\n0.000"},
    {"close$1", "close(file)", "Closes the file of the slot, and forgets what was read from it.",
     "0 on success, -1 when the slot had no open file", R"~("Bad argument in close()" when file is not @0 to @9)~",
     R"~(>open(@1, "out.txt", "w"))~" "\n1.000\n>close(@1)\n0.000\n>close(@1)\n-1.000"},
    {"eof$1", "eof(file)",
     "Whether a read from the slot has met the end of its file. Reading the last line with linput does "
     "not set it; the next read, which finds nothing, does. (input reads on to the end of a block of "
     "lines, so it can meet the end at once.) A slot with no open file counts as ended.",
     "1 or 0", R"~("Bad argument in eof()" when file is not @0 to @9)~",
     R"~(>open(@1, "one.txt", "w"); printf(@1, "7\n"); close(@1); open(@1, "one.txt", "r"))~" "\n1.000\n"
     ">linput(@1, a); eof(@1)\n0.000\n>linput(@1, a); eof(@1)\n1.000"},
    {"rewind$1", "rewind(file)", "Starts reading the slot's file again from its beginning.",
     "1, or 0 when the slot has no open file or cannot seek", R"~("Bad argument in rewind()" when file is not @0 to @9)~",
     R"~(>open(@1, "one.txt", "w"); printf(@1, "7\n"); close(@1); open(@1, "one.txt", "r"))~" "\n1.000\n"
     ">input(@1, a); rewind(@1); input(@1, b); b\n7.000"},
};

constexpr BuiltinHelp kSystem[] = {
    {"system$0 system$1", "system(command)\nsystem()",
     "Runs the command through the shell (/bin/sh) and waits for it; its output goes straight to the "
     "terminal. Without an argument, starts an interactive shell ($SHELL, else /bin/sh) and waits until it "
     "is left.",
     "the command's exit status (127 when the shell cannot find it)",
     R"~("Bad argument in system()" when command is not a string)~",
     R"~(>system("echo hello"))~" "\nhello\n0.000\n" R"~(>system("exit 3"))~" "\n3.000"},
    {"eval$1", "eval(text)",
     "Runs the text as program text, with a ; added at its end, in the current scope: inside a function "
     "it sees the function's variables, and the functions it defines become global. An error in the text "
     "is reported as it happens and is not passed on to the caller.",
     "the value of the text's last statement; 0 after an error",
     R"~("Bad argument in eval()" when text is not a string)~",
     R"~(>eval("1 + 2"))~" "\n3.000"},
    {"exit$0 exit$1", "exit()\nexit(v)",
     "Ends the current run (the script, the call of main, a talk-mode line or an eval text) once the "
     "statement calling it is done, with v as the run's value. Quarn itself goes on: after a script comes "
     "main, then talk mode if asked for. v never becomes the exit status of quarn.",
     "nothing: the run ends", "", ">exit(3); print(\"not shown\")\n3.000"},
    {"sleep$1", "sleep(ms)", "Waits ms milliseconds (truncated to a whole number); a graphics window keeps "
     "running meanwhile.",
     "0", R"~("Cannot convert arg to real number" when ms is not a real 1 by 1 number)~", ">sleep(10)\n0.000"},
    {"tick$0", "tick()",
     "A clock in milliseconds, for measuring time between two calls. It counts in 32 bits and wraps after "
     "about 49.7 days.",
     "the count, 1 by 1", "", ">t = tick(); sleep(50); tick() - t >= 50\n1.000"},
    {"beep$0", "beep()", "Sounds a tone of 800 Hz for 200 ms and waits for it; silent where there is no sound "
     "device.",
     "0", "", ">beep()\n0.000"},
};

constexpr BuiltinHelp kWindow[] = {
    {"screen$0 screen$2 screen$3", "screen(w, h)\nscreen(w, h, m)\nscreen()",
     "Opens the graphics window with a drawing area of w by h pixels: in 2D when m (default 0) gives the "
     "remainder 0 when divided by 3, in 3D for 1, in 3D with lighting for 2. Only one window can be open; "
     "the user closes it. Without arguments, tells whether a window is open.",
     "1 when the window was opened (or, for screen(), is open); 0 when one is already open, a size is "
     "below 1, or the window cannot be opened (the reason is written to standard error)",
     R"~("Cannot convert arg to integer" when w, h or m is not an integer)~",
     ">screen(400, 300)\n1.000\n>screen(400, 300)\n0.000\n>screen()\n1.000"},
    {"window$4", "window(x1, x2, y1, y2)",
     "In a 2D window, sets the region shown: y from y1 to y2, and x centred between x1 and x2 with the "
     "half-width (x2 - x1) / 2 widened by the window's width-to-height ratio, so that a unit is as long "
     "across as up.",
     "1, or 0 (nothing changed) when x1 = x2 or y1 = y2",
     R"~("window() allowed only in 2D mode." when the window is 3D)~" "\n"
     R"~("Cannot convert arg to real number" when an argument is not a real number)~",
     ">screen(400, 400)\n1.000\n>window(0, 10, 0, 10)\n1.000"},
    {"zclip$2", "zclip(near, far)", "In a 3D window, sets the distances of the near and far clipping planes "
     "(0.001 and 1000 when it opens).",
     "1",
     R"~("zclip() allowed only in 3D mode." when the window is 2D)~" "\n"
     R"~("Cannot convert arg to real number" when an argument is not a real number)~",
     ">screen(400, 300, 1)\n1.000\n>zclip(0.01, 100)\n1.000"},
    {"cls$0", "cls()", "Erases everything drawn so far and cancels transform; the colour goes back to white.",
     "1", "", ">screen(200, 200)\n1.000\n>line([0, 0], [1, 1])\n1.000\n>cls()\n1.000"},
    {"bgcolor$1 bgcolor$3", "bgcolor(v)\nbgcolor(r, g, b)",
     "Sets the background colour at once, from red, green and blue levels from 0 to 1 given as three "
     "numbers or as one row or column of three.",
     "1",
     R"~("Cannot convert arg to vector3" when v is not three numbers)~" "\n"
     R"~("Cannot convert arg to real number" when a level is not a real number)~",
     ">screen(200, 200)\n1.000\n>bgcolor(0, 0, 0.3)\n1.000"},
    {"grid$1 grid$2", "grid(g)\ngrid(gx, gy)",
     "Sets the spacing of the background grid: g in both directions, or gx across and gy up; a spacing of "
     "0 or less is chosen to suit the view (the start-up setting). A 3D window uses gx for its floor grid.",
     "1", R"~("Cannot convert arg to real number" when a spacing is not a real number)~",
     ">screen(200, 200)\n1.000\n>grid(0.25)\n1.000"},
    {"update$0 update$1", "update()\nupdate(on)",
     "Without an argument, repaints the window now and waits for it. With one, turns automatic repainting "
     "on or off (it is on when the window opens): while it is off, drawing built-ins only record, and "
     "many can be drawn at once with one update().",
     "update(): 1; update(on): the previous setting, 1 or 0",
     R"~("Cannot convert arg to real number" when on is not a real number)~",
     ">screen(200, 200)\n1.000\n>update(0)\n1.000\n>update(1)\n0.000"},
    {"transform$0 transform$1", "transform()\ntransform(M)",
     "Applies the matrix M (2 to 4 rows and columns, real; the rest of the 4 by 4 identity fills it up) to "
     "everything drawn after it, until the next transform or cls; transform() goes back to none. In a 2D "
     "window points are taken as (x, y, 1), so a 3 by 3 M is a 2D transform whose last column moves.",
     "the previous transform, as a 4 by 4 matrix",
     R"~("Bad argument in transform()" when M is not a number with 2 to 4 rows and 2 to 4 columns)~" "\n"
     R"~("Cannot convert arg to real number" when an element of M is complex)~",
     ">screen(200, 200)\n1.000\n>t = transform([2, 0][0, 2]); trace(t)\n4.000"},
};

// Every drawing built-in takes points as rows or columns of 2 numbers in a
// 2D window and 3 in a 3D one.
#define QUARN_POINT_MESSAGES                                                                       \
    R"~("Cannot convert arg to vector2" when a point is not 2 numbers (2D window))~" "\n"            \
    R"~("Cannot convert arg to vector3" when a point is not 3 numbers (3D window))~" "\n"            \
    R"~("Cannot convert arg to real number" when a coordinate is complex)~"

constexpr BuiltinHelp kDrawing[] = {
    {"color$1 color$3", "color(g)\ncolor(v)\ncolor(r, g, b)",
     "Sets the colour of what is drawn after it: a grey level g, or red, green and blue levels from 0 to "
     "1 as three numbers or one row or column of three. It does not repaint by itself.",
     "1",
     R"~("Cannot convert arg to vector3" when v is neither 1 number nor 3)~" "\n"
     R"~("Cannot convert arg to real number" when a level is not a real number)~",
     ">screen(200, 200)\n1.000\n>color(1, 0.5, 0)\n1.000"},
    {"line", "line(p1, p2, ...)", "Draws straight lines from each point to the next.",
     "1, or 0 (nothing drawn) with fewer than 2 points", QUARN_POINT_MESSAGES,
     ">screen(200, 200)\n1.000\n>line([-1, -1], [0, 1], [1, -1])\n1.000"},
    {"point", "point(p1, ...)", "Draws a dot, 4 pixels across, at each point.", "1, or 0 with no points",
     QUARN_POINT_MESSAGES, ">screen(200, 200)\n1.000\n>point([0, 0], [0.5, 0.5])\n1.000"},
    {"arrow$3", "arrow(from, to, s)",
     "Draws an arrow from one point to another, its head at to, with strokes of size s (in the units of "
     "the drawing) at 45 degrees to the shaft.",
     "1", QUARN_POINT_MESSAGES, ">screen(200, 200)\n1.000\n>arrow([0, 0], [1, 1], 0.1)\n1.000"},
    {"label$2", "label(p, text)",
     "Writes the text at the point, in the current colour; it always faces the viewer and keeps its size "
     "when the view is zoomed.",
     "1", QUARN_POINT_MESSAGES "\n" R"~("Cannot convert arg to string" when text is not a string)~",
     R"~(>screen(200, 200))~" "\n1.000\n" R"~(>label([0, 0], "origin"))~" "\n1.000"},
    {"poly", "poly(p1, p2, p3, ...)",
     "Draws a filled polygon through the points in order; concave ones are filled correctly too. In a lit "
     "3D window both of its sides are lit.",
     "1, or 0 with fewer than 3 points", QUARN_POINT_MESSAGES,
     ">screen(200, 200)\n1.000\n>poly([0, 0], [1, 0], [0, 1])\n1.000"},
    {"pline", "pline(p1, p2, p3, ...)", "Draws the closed outline through the points: the last is joined to the "
     "first.",
     "1, or 0 with fewer than 3 points", QUARN_POINT_MESSAGES,
     ">screen(200, 200)\n1.000\n>pline([0, 0], [1, 0], [0, 1])\n1.000"},
};

#undef QUARN_POINT_MESSAGES

constexpr BuiltinFamily kFamilies[] = {
    {"Elementary functions",
     "These work element by element: the result has the shape of the argument, and every element is a "
     "complex number (a real one has imaginary part 0). Where a real argument lies outside a function's "
     "real domain the result is complex rather than NaN: sqrt(-4) is 2i and asin(2) is complex. The "
     "inverse functions give the principal value and stay accurate for very large and very small "
     "arguments. Overflow gives an infinity, as floating-point arithmetic does; it is not an error.",
     kElementary},
    {"Complex parts", "Element by element; the results are real, except for conj.", kComplexParts},
    {"Rounding and tests", "Element by element; the real and imaginary parts of a complex element are treated "
     "separately.",
     kRounding},
    {"Integer functions",
     "Every element must be an integer: imaginary part 0, no fraction, from -2147483648 to 2147483647. "
     "Results are real; the arithmetic is done in 64-bit integers or in floating point.",
     kIntegers},
    {"Largest and smallest", "", kMinMax},
    {"Special functions and random numbers", "", kSpecial},
    {"Linear algebra", "These treat their argument as a whole matrix and never change it.", kLinear},
    {"Building and reshaping matrices", "", kShaping},
    {"Output and number format",
     "print and printf write to standard output or, with a file identifier first, to a file opened with "
     "open.",
     kOutput},
    {"Settings and errors", "", kSettings},
    {"Console keys",
     "Single key presses, read from a terminal without waiting for Enter. When standard input is not a "
     "terminal, its bytes stand for the keys.",
     kConsole},
    {"Files",
     "Ten file slots, named by the file identifiers @0 to @9, hold the open files. print and printf write "
     "to a slot given as their first argument; the input statements input(@n, ...) and linput(@n, ...) "
     "read numbers from it (see the language manual for the data-line format).",
     kFiles},
    {"System services", "", kSystem},
    {"Graphics window",
     "One window at a time, opened by screen. Until it is open every other graphics built-in does nothing "
     "and returns 0. The window is drawn on a thread of its own and stays open until the user closes it "
     "or quarn ends; the user can turn, move and zoom the view with the mouse (see the language manual). "
     "The window code is loaded on the first graphics call: where it cannot be, screen gives 0 with a "
     "message and drawing raises a run-time error.",
     kWindow},
    {"Drawing",
     "A point is a row or column of 2 numbers in a 2D window and 3 in a 3D one. Each drawing built-in "
     "records a command that the window replays on every repaint, and repaints at once while automatic "
     "repainting is on (see update).",
     kDrawing},
};

}  // namespace

std::span<const BuiltinFamily> builtinFamilies() { return kFamilies; }
