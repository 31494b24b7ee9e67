rand("seed", 1);
a = rand(1000);
b = sin(a) * 2 + sqrt(a) - exp(a * 0.5);
c = abs(b) + floor(a * 10);
printf("%.6f\n", trace(c));
