rand("seed", 1);
a = rand(300);
b = rand(300);
c = a * b;
printf("%.6f\n", trace(c));
