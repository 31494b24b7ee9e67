s = 0;
for i = 0:1999999
  s = s + i * 0.5 - mod(i, 7);
end
printf("%.1f\n", s);
