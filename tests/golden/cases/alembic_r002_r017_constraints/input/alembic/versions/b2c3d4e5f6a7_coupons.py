"""coupons

Revision ID: b2c3d4e5f6a7
Revises: a1b2c3d4e5f6
Create Date: 2024-02-10 10:12:33.123456

"""
from typing import Sequence, Union

from alembic import op
import sqlalchemy as sa


# revision identifiers, used by Alembic.
revision: str = "b2c3d4e5f6a7"
down_revision: Union[str, None] = "a1b2c3d4e5f6"
branch_labels: Union[str, Sequence[str], None] = None
depends_on: Union[str, Sequence[str], None] = None


def upgrade() -> None:
    op.create_table(
        "coupons",
        sa.Column("id", sa.Integer(), primary_key=True),
        sa.Column("code", sa.String(16), nullable=False),
        schema="sales",
    )
    op.create_unique_constraint("uq_coupons_code", "coupons", ["code"], schema="sales")
    op.create_check_constraint("ck_coupons_code", "coupons", "length(code) > 3", schema="sales")
    op.create_unique_constraint("uq_coupons_code_public", "coupons", ["code"])


def downgrade() -> None:
    op.drop_table("coupons", schema="sales")
