rand("seed", 1);
a = (rand(200) - 0.5) * 0.2 + eye(200);
x = inv(a);
d = det(a);
printf("%.6f %.6e\n", trace(x), d);
